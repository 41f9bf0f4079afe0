// Registry helpers; see RegistryAccess.h.
#include "acad/RegistryAccess.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "acad/ReleaseRules.h"
#include "framework/Handles.h"

namespace acad {

DWORD subKeyCount(HKEY key) {
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count;
}

bool subKeyNameAt(HKEY key, DWORD index, std::string& name) {
    // Key names are at most 255 UTF-16 units; in code page 936 a name of 255 Chinese
    // characters takes 510 bytes, so a 256-byte buffer would lose such names.
    char buffer[512] = {};
    DWORD length = sizeof buffer;
    if (RegEnumKeyExA(key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    name.assign(buffer, std::min<DWORD>(length, sizeof buffer - 1));
    return true;
}

bool readValueText(HKEY key, const char* name, std::string& text, DWORD* type) {
    // Start with the 520 bytes that any sensible folder or product name fits in, and grow
    // when the registry reports more data. The value may change between two reads, so
    // retry a few times. One zero byte past the data is always kept, because registry
    // strings need not be stored with their terminator.
    std::vector<char> buffer(521, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size() - 1);
        DWORD valueType = REG_NONE;
        LONG status =
            RegQueryValueExA(key, name, nullptr, &valueType, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_MORE_DATA) {
            buffer.assign(std::max<std::size_t>(size + 1u, buffer.size() * 2), '\0');
            continue;
        }
        if (status != ERROR_SUCCESS) return false;
        size = std::min<DWORD>(size, static_cast<DWORD>(buffer.size() - 1));
        text.assign(buffer.data(), strnlen(buffer.data(), size));
        if (type) *type = valueType;
        return true;
    }
    return false;
}

bool readWideValue(HKEY key, const wchar_t* name, std::wstring& text, DWORD* type) {
    // As readValueText, in UTF-16 units; one zero unit past the data is always kept.
    std::vector<wchar_t> buffer(261, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        DWORD valueType = REG_NONE;
        LONG status =
            RegQueryValueExW(key, name, nullptr, &valueType, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_MORE_DATA) {
            buffer.assign(std::max<std::size_t>(size / sizeof(wchar_t) + 2, buffer.size() * 2), L'\0');
            continue;
        }
        if (status != ERROR_SUCCESS) return false;
        std::size_t units = std::min<std::size_t>(size / sizeof(wchar_t), buffer.size() - 1);
        text.assign(buffer.data(), wcsnlen(buffer.data(), units));
        if (type) *type = valueType;
        return true;
    }
    return false;
}

namespace {
// Splits at backslashes that are characters of their own, never at the trail byte of a
// double-byte character.
std::vector<std::string> keyNames(const std::string& path) {
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(path[i]);
        if (isSystemLeadByte(byte) && i + 1 < path.size()) {
            names.back() += path.substr(i, 2);
            ++i;
        } else if (byte == '\\') {
            names.emplace_back();
        } else {
            names.back() += path[i];
        }
    }
    return names;
}

using StepFunction = LONG(APIENTRY*)(HKEY, LPCSTR, PHKEY);

LONG walkKeyPath(HKEY root, const std::string& path, HKEY* key, StepFunction step) {
    *key = nullptr;
    HKEY current = nullptr;  // owned once a first name was opened
    for (const std::string& name : keyNames(path)) {
        if (name.empty()) continue;
        HKEY next = nullptr;
        LONG status = step(current ? current : root, name.c_str(), &next);
        if (current) RegCloseKey(current);
        if (status != ERROR_SUCCESS) return status;
        current = next;
    }
    // An empty path names root itself, as a single call with an empty name would.
    if (!current) return step(root, nullptr, key);
    *key = current;
    return ERROR_SUCCESS;
}
}  // namespace

LONG openKeyPath(HKEY root, const std::string& path, HKEY* key) {
    return walkKeyPath(root, path, key, RegOpenKeyA);
}

LONG createKeyPath(HKEY root, const std::string& path, HKEY* key) {
    return walkKeyPath(root, path, key, RegCreateKeyA);
}

LONG openProductKey(const std::string& keyPath, HKEY* key) {
    RootedKeyPath path = splitAtReleaseRoot(keyPath);
    if (path.root.empty()) return openKeyPath(HKEY_LOCAL_MACHINE, keyPath, key);
    // The Wow6432Node root must be named in one piece: a 32-bit process that opens SOFTWARE
    // alone already holds the 32-bit view, below which there is no Wow6432Node key.
    RegKey root;
    LONG status = RegOpenKeyA(HKEY_LOCAL_MACHINE, path.root.c_str(), root.out());
    if (status != ERROR_SUCCESS) return status;
    return openKeyPath(root.get(), path.belowRoot, key);
}

bool seesRedirectedMachineSoftware() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace acad
