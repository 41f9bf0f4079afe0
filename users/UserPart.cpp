// The part of an installation that belongs to one user; see UserPart.h.
#include "users/UserPart.h"

#include "acad/TrustedEntryItem.h"
#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "deploy/DataFolder.h"
#include "deploy/DeployRules.h"
#include "deploy/TargetFolderCopies.h"
#include "framework/BuildConstants.h"
#include "framework/Files.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"
#include "journal/FileItems.h"
#include "journal/RegistryItems.h"
#include "users/LogonRules.h"

namespace {

void addUsersItems(WorkItems& items, WorkItems more) {
    for (auto& item : more) {
        item->store = Store::User;
        items.push_back(std::move(item));
    }
}

}  // namespace

UserPartPlan planUserPart(const std::string& targetFolder, const SettingsSource& settings) {
    UserPartPlan plan;
    if (!settings.file.empty()) {
        plan.settingsName = path::names(settings.file, isSystemLeadByte).back();
        const std::string appData = userAppDataFolder();
        plan.userFolderUnknown = appData.empty();
        if (!appData.empty()) {
            const std::string folder = userSettingsFolder(appData);
            // The name as shipped, in its letter case.
            const std::string destination = userSettingsPath(appData, plan.settingsName);
            WorkItems settingsItems;
            if (probePath(folder) == PathMissing)
                settingsItems.push_back(std::make_unique<FolderItem>(folder));
            if (settings.replaceUsersOwn || probePath(destination) != PathIsFile)
                for (auto& item : replaceFile(settings.file, destination, Failure::Action::Copy))
                    settingsItems.push_back(std::move(item));
            addUsersItems(plan.items, std::move(settingsItems));
        }
    }
    addUsersItems(plan.items, trustedEntryItems(targetFolder));
    return plan;
}

std::string logonRunValueName() { return "TorlenBatchPrint" + std::to_string(platformBits); }

std::string logonRunValuePath() {
    return std::string("HKEY_CURRENT_USER\\") + kUserRunKey + "\\" + logonRunValueName();
}

WorkItems runAtNextLogonItems(const std::string& program) {
    WorkItems items;
    items.push_back(std::make_unique<ValueBackupItem>(Store::User, kUserRunKey, logonRunValueName()));
    items.push_back(std::make_unique<ValueItem>(
        Store::User, kUserRunKey,
        wideValue(logonRunValueName(), logon::logonCommandLine(widenFromSystemCodePage(program)))));
    return items;
}

unsigned long stopLogonRuns() {
    RegistryKey run;
    LONG status = run.openPath(HKEY_CURRENT_USER, kUserRunKey, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS) status = run.deleteValue(logonRunValueName().c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<unsigned long>(status);
}

bool everyProfileTrusts(const std::string& folder) {
    const std::vector<std::string> profiles = acad::profileVariablesKeys();
    const std::wstring wide = widenFromSystemCodePage(folder);
    for (const std::string& variablesKey : profiles) {
        if (!acad::trustsFolder(acad::readTrustedPaths(variablesKey).text, wide, acad::upperInvariant))
            return false;
    }
    return !profiles.empty();
}
