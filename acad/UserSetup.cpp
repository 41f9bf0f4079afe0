// The per-user part and Active Setup; see UserSetup.h.
#include "acad/UserSetup.h"

#include <windows.h>

#include "acad/Registration.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "deploy/LogTexts.h"
#include "framework/BuildConstants.h"
#include "framework/ModulePath.h"
#include "framework/Paths.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"
#include "framework/WideText.h"

namespace {

const char* const kInstalledComponents = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";
const char* const kComponentName = "TorlenBatchPrint";

// "2026,1,1,0": Windows runs the stub again for a user whose recorded version is lower.
std::wstring componentVersion() {
    return decimalText(buildVersion / 10000) + L"," + decimalText(buildVersion / 100 % 100) + L"," +
           decimalText(buildVersion % 100) + L",0";
}

// A path in quotes for a command line; a closing backslash (of "C:\") is doubled, else the
// command line would read it with the quote as an escaped quote character.
std::wstring quoted(const std::string& systemPath) {
    std::wstring text = widenFromSystemCodePage(systemPath);
    if (!text.empty() && text.back() == L'\\') text += L'\\';
    return L"\"" + text + L"\"";
}

// The user's part of the settings file: the copy kept in the plug-in's folder goes into the
// user's own folder, unless the user has one already (their settings stay). 0, or the
// Windows error with the path it concerns.
unsigned long copyKeptSettings(const std::string& targetFolder, std::string& destination) {
    std::string kept = keptSettingsPath(targetFolder);
    destination = kept;
    if (probePath(kept) != PathIsFile) return ERROR_SUCCESS;  // shipped without one
    std::string appData = userAppDataFolder();
    if (appData.empty()) return ERROR_PATH_NOT_FOUND;
    destination = userSettingsPath(appData, kSettingsFileName);
    if (probePath(destination) == PathIsFile) return ERROR_SUCCESS;
    CreateDirectoryA(userSettingsFolder(appData).c_str(), nullptr);
    return copyOver(kept, destination);
}

}  // namespace

FailureLog setUpForUser(const std::string& targetFolder, SetupLog& log) {
    FailureLog failures;
    addTrustedFolder(targetFolder, failures);
    std::string settings;
    if (unsigned long error = copyKeptSettings(targetFolder, settings))
        failures.push_back({Failure::Action::Copy, settings, error});
    log.failures(failures);
    return failures;
}

std::string activeSetupKeyName() {
    return path::join(std::string("HKEY_LOCAL_MACHINE\\") + kInstalledComponents, kComponentName);
}

unsigned long activeSetupWriteError() {
    RegistryKey components;
    return static_cast<unsigned long>(
        components.createPath(HKEY_LOCAL_MACHINE, kInstalledComponents, KEY_CREATE_SUB_KEY));
}

unsigned long registerActiveSetup(const std::string& chosenFolder, const std::string& targetFolder,
                                  const std::string& namedDataFolder, InstallRecorder* recorder) {
    const std::wstring self = moduleFileName();
    std::string stub = path::join(targetFolder, kUnattendedInstallerName);
    if (self.empty()) return ERROR_FILENAME_EXCED_RANGE;
    if (!CopyFileW(self.c_str(), widenFromSystemCodePage(stub).c_str(), FALSE)) return GetLastError();
    if (recorder) recorder->file(stub);
    std::string dataFolder, settings;
    if (locateSetupDataFolder(namedDataFolder, dataFolder) &&
        probePath(settings = path::join(dataFolder, kSettingsFileName)) == PathIsFile) {
        if (CreateDirectoryA(keptSettingsFolder(targetFolder).c_str(), nullptr) && recorder)
            recorder->folder(keptSettingsFolder(targetFolder));
        if (unsigned long error = copyOver(settings, keptSettingsPath(targetFolder))) return error;
        if (recorder) recorder->file(keptSettingsPath(targetFolder));
    }
    RegistryKey component;
    LONG status = component.createPath(HKEY_LOCAL_MACHINE, path::join(kInstalledComponents, kComponentName),
                                       KEY_SET_VALUE);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    if (recorder) recorder->key(kInstalledComponents, kComponentName);
    const std::wstring stubPath = quoted(stub) + L" user-setup --folder " + quoted(chosenFolder);
    for (LONG written : {component.writeWide(L"", kProductDisplayName, REG_SZ),
                         component.writeWide(L"StubPath", stubPath, REG_SZ),
                         component.writeWide(L"Version", componentVersion(), REG_SZ),
                         component.writeDword("IsInstalled", 1)}) {
        if (written != ERROR_SUCCESS) return static_cast<unsigned long>(written);
    }
    return ERROR_SUCCESS;
}

unsigned long removeActiveSetup() {
    RegistryKey components;
    LONG status = components.openPath(HKEY_LOCAL_MACHINE, kInstalledComponents, KEY_READ);
    if (status == ERROR_SUCCESS) status = components.deleteSubKey(kComponentName);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<unsigned long>(status);
}
