// The logon step's registration with Active Setup; see ActiveSetup.h.
#include "users/ActiveSetup.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/TargetFolderCopies.h"
#include "framework/Files.h"
#include "framework/KeyPath.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "journal/FileItems.h"
#include "journal/RegistryItems.h"
#include "res/LogonProgram.h"
#include "users/LogonRules.h"

namespace {

const KeyPath kComponent{HKEY_LOCAL_MACHINE, std::string(kInstalledComponents) + "\\" + kComponentName};

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

// The logon program this program carries; null (size 0) in a program that carries none.
const void* logonProgramBytes(std::size_t& size) {
    HRSRC found = FindResourceW(nullptr, resourceNumber(IDR_LOGON_PROGRAM), resourceNumber(kRawData));
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    size = found ? SizeofResource(nullptr, found) : 0;
    return loaded ? LockResource(loaded) : nullptr;
}

void addAuxiliary(WorkItems& items, WorkItems more) {
    for (auto& item : more) {
        item->auxiliary = true;
        items.push_back(std::move(item));
    }
}

// The component, its command the logon program, its version above the one registered before.
WorkItems componentItems(const std::string& targetFolder, const std::string& registeredBefore) {
    std::string registered = activeSetupVersion();
    if (registered.empty()) registered = registeredBefore;
    const std::wstring program = widenFromSystemCodePage(path::join(targetFolder, kLogonProgramName));
    WorkItems items;
    items.push_back(std::make_unique<KeyBackupItem>(Store::Machine, kInstalledComponents, kComponentName));
    items.push_back(std::make_unique<KeyItem>(
        Store::Machine, kInstalledComponents, kComponentName,
        std::vector<SavedValue>{
            wideValue("", kProductDisplayName), wideValue("StubPath", logon::logonCommandLine(program)),
            textValue("Version", versionFromNow(registered)), dwordValue("IsInstalled", 1)},
        Failure::Action::LogonRegistration));
    return items;
}

}  // namespace

std::string activeSetupKeyName() { return kComponent.name(); }

std::string activeSetupVersion() {
    RegistryKey component;
    std::string version;
    if (kComponent.open(component, KEY_READ) == ERROR_SUCCESS) component.readText("Version", version);
    return version;
}

WorkItems activeSetupItems(const std::string& targetFolder, const std::string& settingsFile) {
    WorkItems items;
    const Failure::Action failure = Failure::Action::LogonRegistration;
    const std::string self = moduleFilePath();
    const std::string kept = path::join(targetFolder, kUnattendedInstallerName);
    if (!narrow::equalsIgnoreCase(self, kept)) addAuxiliary(items, replaceFile(self, kept, failure));
    std::size_t size = 0;
    const void* program = logonProgramBytes(size);
    addAuxiliary(items, replaceFile(program, size, path::join(targetFolder, kLogonProgramName), failure));
    if (!settingsFile.empty()) {
        WorkItems settings;
        if (probePath(keptSettingsFolder(targetFolder)) == PathMissing)
            settings.push_back(std::make_unique<FolderItem>(keptSettingsFolder(targetFolder)));
        for (auto& item : replaceFile(settingsFile, keptSettingsPath(targetFolder), failure))
            settings.push_back(std::move(item));
        addAuxiliary(items, std::move(settings));
    }
    addAuxiliary(items, componentItems(targetFolder, std::string()));
    return items;
}

WorkItems activeSetupForRemovalItems(const std::string& targetFolder, const std::string& registeredBefore) {
    WorkItems items;
    addAuxiliary(items, componentItems(targetFolder, registeredBefore));
    return items;
}
