// A package's settings; see PackageSettings.h.
#include "cli/PackageSettings.h"

#include <windows.h>

#include "cli/CommandLineRules.h"
#include "framework/BuildConstants.h"
#include "framework/Registry.h"
#include "framework/WideText.h"

namespace cli {

namespace {

const char* const kPackageKey = "SOFTWARE\\Torlen\\BatchPrint\\Package";

// A yes or no as a packager writes one: empty, 0 or no is no; 1 or yes is yes.
bool readYesNo(const std::wstring& text, bool& value) {
    std::wstring lower;
    for (wchar_t c : text) lower += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    value = lower == L"1" || lower == L"yes" || lower == L"true";
    return value || lower.empty() || lower == L"0" || lower == L"no" || lower == L"false";
}

}  // namespace

bool readPackageSettings(const std::string& productCode, PackageSettings& settings, std::string& reason) {
    RegistryKey key;
    std::wstring code, version, releases, protect;
    if (key.openPath(HKEY_LOCAL_MACHINE, kPackageKey, KEY_READ) != ERROR_SUCCESS ||
        !key.readWide(L"ProductCode", code)) {
        reason = "the package wrote no settings (HKEY_LOCAL_MACHINE\\" + std::string(kPackageKey) + ")";
        return false;
    }
    settings.productCode = utf8(code);
    if (settings.productCode != productCode) {
        reason = "the settings are those of package " + settings.productCode + ", not of " + productCode;
        return false;
    }
    key.readWide(L"ProductVersion", version);
    settings.productVersion = utf8(version);
    key.readWide(L"Folder", settings.folder);
    key.readWide(L"Releases", releases);
    key.readWide(L"ProtectFolder", protect);
    if (settings.folder.empty()) {
        reason = "FOLDER is empty";
        return false;
    }
    if (!parseReleases(utf8(releases), settings.releases, reason)) {
        reason = "RELEASES: " + reason;
        return false;
    }
    if (!readYesNo(protect, settings.protectFolder)) {
        reason = "PROTECTFOLDER takes 1 or 0, not \"" + utf8(protect) + "\"";
        return false;
    }
    return true;
}

std::wstring packageLogPath() {
    wchar_t windows[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    return std::wstring(windows, length) + L"\\Logs\\TorlenBatchPrint" + decimalText(platformBits) + L".log";
}

}  // namespace cli
