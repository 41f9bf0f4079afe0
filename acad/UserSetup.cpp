// The logon step's registration with Active Setup; see UserSetup.h.
#include "acad/UserSetup.h"

#include <windows.h>

#include "acad/LogonRules.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Paths.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"
#include "res/LogonProgram.h"

namespace {

const char* const kInstalledComponents = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";
const char* const kComponentName = "TorlenBatchPrint";

unsigned long long ticksOf(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The next version from the clock (UTC): the year, and the milliseconds since it began (FILETIME
// counts 100 ns).
std::string versionFromNow(const std::string& registered) {
    SYSTEMTIME now, yearBegan = {};
    GetSystemTime(&now);
    yearBegan.wYear = now.wYear;
    yearBegan.wMonth = 1;
    yearBegan.wDay = 1;
    FILETIME nowTicks, beganTicks;
    if (!SystemTimeToFileTime(&now, &nowTicks) || !SystemTimeToFileTime(&yearBegan, &beganTicks))
        return logon::nextVersion(now.wYear, 0, registered);
    return logon::nextVersion(now.wYear, (ticksOf(nowTicks) - ticksOf(beganTicks)) / 10000, registered);
}

// A resource named by number (the engine is built without the window header's MAKEINTRESOURCE).
LPCWSTR resourceNumber(unsigned number) { return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(number)); }
const unsigned kRawData = 10;  // RT_RCDATA

// The logon program that this program carries, written into the plug-in's folder; 0 or the
// Windows error (ERROR_RESOURCE_NAME_NOT_FOUND from a program that carries none).
unsigned long writeLogonProgram(const std::string& destination) {
    HRSRC found = FindResourceW(nullptr, resourceNumber(IDR_LOGON_PROGRAM), resourceNumber(kRawData));
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(nullptr, found) : 0;
    if (!bytes || size == 0) return ERROR_RESOURCE_NAME_NOT_FOUND;
    clearReadOnly(destination);
    KernelHandle file(CreateFileW(widenFromSystemCodePage(destination).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return GetLastError();
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes, size, &written, nullptr) || written != size) return GetLastError();
    return ERROR_SUCCESS;
}

// The component, its command the logon program, its version above the one registered before
// (the component's own, or the one given when the component was taken away meanwhile).
unsigned long writeComponent(const std::string& targetFolder, std::string registered,
                             InstallRecorder* recorder) {
    RegistryKey component;
    LONG status = component.createPath(HKEY_LOCAL_MACHINE, path::join(kInstalledComponents, kComponentName),
                                       KEY_SET_VALUE | KEY_QUERY_VALUE);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    if (recorder) recorder->key(kInstalledComponents, kComponentName);
    component.readText("Version", registered);
    const std::string version = versionFromNow(registered);
    const std::wstring program = widenFromSystemCodePage(path::join(targetFolder, kLogonProgramName));
    for (LONG written : {component.writeWide(L"", kProductDisplayName, REG_SZ),
                         component.writeWide(L"StubPath", logon::logonCommandLine(program), REG_SZ),
                         component.writeText("Version", version), component.writeDword("IsInstalled", 1)}) {
        if (written != ERROR_SUCCESS) return static_cast<unsigned long>(written);
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::string activeSetupKeyName() {
    return path::join(std::string("HKEY_LOCAL_MACHINE\\") + kInstalledComponents, kComponentName);
}

unsigned long activeSetupWriteError() {
    RegistryKey components;
    return static_cast<unsigned long>(
        components.createPath(HKEY_LOCAL_MACHINE, kInstalledComponents, KEY_CREATE_SUB_KEY));
}

unsigned long registerActiveSetup(const std::string& targetFolder, const std::string& namedDataFolder,
                                  InstallRecorder* recorder) {
    const std::wstring self = moduleFileName();
    const std::string kept = path::join(targetFolder, kUnattendedInstallerName);
    if (self.empty()) return ERROR_FILENAME_EXCED_RANGE;
    if (!CopyFileW(self.c_str(), widenFromSystemCodePage(kept).c_str(), FALSE)) return GetLastError();
    if (recorder) recorder->file(kept);
    const std::string program = path::join(targetFolder, kLogonProgramName);
    if (unsigned long error = writeLogonProgram(program)) return error;
    if (recorder) recorder->file(program);
    std::string dataFolder, settings;
    if (locateSetupDataFolder(namedDataFolder, dataFolder) &&
        probePath(settings = path::join(dataFolder, kSettingsFileName)) == PathIsFile) {
        if (CreateDirectoryA(keptSettingsFolder(targetFolder).c_str(), nullptr) && recorder)
            recorder->folder(keptSettingsFolder(targetFolder));
        if (unsigned long error = copyOver(settings, keptSettingsPath(targetFolder))) return error;
        if (recorder) recorder->file(keptSettingsPath(targetFolder));
    }
    return writeComponent(targetFolder, std::string(), recorder);
}

unsigned long registerActiveSetupForRemoval(const std::string& targetFolder,
                                            const std::string& registeredBefore, InstallRecorder* recorder) {
    return writeComponent(targetFolder, registeredBefore, recorder);
}

std::string activeSetupVersion() {
    RegistryKey component;
    std::string version;
    if (component.openPath(HKEY_LOCAL_MACHINE, path::join(kInstalledComponents, kComponentName), KEY_READ) ==
        ERROR_SUCCESS)
        component.readText("Version", version);
    return version;
}

unsigned long removeActiveSetup() {
    RegistryKey components;
    LONG status = components.openPath(HKEY_LOCAL_MACHINE, kInstalledComponents, KEY_READ);
    if (status == ERROR_SUCCESS) status = components.deleteSubKey(kComponentName);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<unsigned long>(status);
}
