// The entry in Programs and Features; see ProgramsEntry.h.
#include "acad/ProgramsEntry.h"

#include <windows.h>

#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "deploy/ProductNames.h"
#include "framework/BuildConstants.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Paths.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"
#include "framework/VersionRules.h"

namespace {

const char* const kUninstallKeys = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kEntryName = "TorlenBatchPrint";

// The installers beside the running program, copied into the plug-in's folder (the running
// one may already be there). True when the copy is there afterwards.
bool copyInstaller(const std::string& name, const std::string& targetFolder, InstallRecorder* recorder) {
    const std::wstring self = moduleFileName();
    const std::size_t slash = self.find_last_of(L'\\');
    if (slash == std::wstring::npos) return false;
    const std::wstring source = self.substr(0, slash + 1) + widenFromSystemCodePage(name);
    const std::string destination = path::join(targetFolder, name);
    if (lstrcmpiW(source.c_str(), widenFromSystemCodePage(destination).c_str()) != 0 &&
        GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (!CopyFileW(source.c_str(), widenFromSystemCodePage(destination).c_str(), FALSE)) return false;
        if (recorder) recorder->file(destination);
    }
    return probePath(destination) == PathIsFile;
}

// What the plug-in's folder holds, in KB, as Programs and Features shows the size.
DWORD folderKilobytes(const std::string& folder) {
    unsigned long long bytes = 0;
    WIN32_FIND_DATAA found;
    FindHandle listing(FindFirstFileA(path::join(folder, "*").c_str(), &found));
    if (!listing.valid()) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileA(listing.get(), &found));
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

std::wstring quoted(const std::string& path) { return L"\"" + widenFromSystemCodePage(path) + L"\""; }

}  // namespace

std::string programsEntryKeyName() {
    return path::join(std::string("HKEY_LOCAL_MACHINE\\") + kUninstallKeys, kEntryName);
}

unsigned long registerProgramsEntry(const std::string& targetFolder, InstallRecorder* recorder) {
    const std::string dialog = path::join(targetFolder, kDialogInstallerName);
    const std::string unattended = path::join(targetFolder, kUnattendedInstallerName);
    // SetUp.exe is shipped alone beside its Data folder, SetUpCmd.exe alone to deployment tools:
    // the entry needs one of them for its uninstall command, and offers a quiet one only where
    // SetUpCmd.exe came along.
    const bool hasDialog = copyInstaller(kDialogInstallerName, targetFolder, recorder);
    const bool hasUnattended = copyInstaller(kUnattendedInstallerName, targetFolder, recorder);
    if (!hasDialog && !hasUnattended) return ERROR_FILE_NOT_FOUND;
    RegistryKey entry;
    LONG status = entry.createPath(HKEY_LOCAL_MACHINE, path::join(kUninstallKeys, kEntryName), KEY_SET_VALUE);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    if (recorder) recorder->key(kUninstallKeys, kEntryName);
    const std::wstring quiet = quoted(unattended) + L" uninstall";
    const std::string version = versionText(buildVersion).substr(1);  // without the V
    for (LONG written : {
             entry.writeWide(L"DisplayName", kProductDisplayName, REG_SZ),
             entry.writeWide(L"DisplayVersion", widenFromSystemCodePage(version), REG_SZ),
             entry.writeWide(L"Publisher", L"Torlen", REG_SZ),
             entry.writeWide(L"InstallLocation", widenFromSystemCodePage(targetFolder), REG_SZ),
             entry.writeWide(L"DisplayIcon", widenFromSystemCodePage(hasDialog ? dialog : unattended) + L",0",
                             REG_SZ),
             entry.writeWide(L"UninstallString", hasDialog ? quoted(dialog) + L" /uninstall" : quiet, REG_SZ),
             hasUnattended ? entry.writeWide(L"QuietUninstallString", quiet, REG_SZ)
                           : entry.deleteValue("QuietUninstallString"),
             entry.writeDword("EstimatedSize", folderKilobytes(targetFolder)),
             entry.writeDword("NoModify", 1),
             entry.writeDword("NoRepair", 1),
         }) {
        if (written != ERROR_SUCCESS) return static_cast<unsigned long>(written);
    }
    return ERROR_SUCCESS;
}
