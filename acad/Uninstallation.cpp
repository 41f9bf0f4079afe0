// Removing the plug-in; see Uninstallation.h.
#include "acad/Uninstallation.h"

#include <algorithm>

#include "acad/ReleaseRoots.h"
#include "acad/ReleaseRules.h"
#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "acad/UserSetup.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/LogTexts.h"
#include "framework/Handles.h"
#include "framework/NarrowString.h"
#include "framework/Paths.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

namespace {

void removeFile(const std::string& filePath, UninstallOutcome& outcome) {
    if (probePath(filePath) != PathIsFile) return;
    SetFileAttributesA(filePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(filePath.c_str()))
        outcome.removed.push_back(filePath);
    else
        outcome.failures.push_back({Failure::Action::Remove, filePath, GetLastError()});
}

void removeFolderIfEmpty(const std::string& folder, UninstallOutcome& outcome) {
    if (probePath(folder) == PathIsFolder && RemoveDirectoryA(folder.c_str()))
        outcome.removed.push_back(folder);
}

// The plug-in's keys below one product key's "Applications": a module key whose LOADER is a
// plug-in module (its folder is the plug-in's), a library key whose LOADER is a host-side
// library. "Applications" goes too when nothing is left in it.
void removeKeys(const std::string& productKey, UninstallOutcome& outcome) {
    RegistryKey product, applications;
    if (acad::openProductKey(productKey, product) != ERROR_SUCCESS ||
        applications.open(product.get(), "Applications", KEY_READ) != ERROR_SUCCESS)
        return;
    StringList names;
    listSubKeyNames(applications, names);
    applications.close();
    for (const std::string& name : names) {
        RegistryKey key;
        std::string loader;
        if (!acad::isPluginKeyName(name) ||
            key.open(product.get(), "Applications\\" + name, KEY_READ) != ERROR_SUCCESS ||
            !key.readText("LOADER", loader))
            continue;
        key.close();
        std::string file = path::names(loader, isSystemLeadByte).back();
        bool isModule = acad::isPluginModuleName(file);
        if (!isModule && !acad::isHostModuleName(file)) continue;
        std::string keyPath = "HKEY_LOCAL_MACHINE\\" + productKey + "Applications\\" + name;
        if (LONG status = product.deleteSubKey("Applications\\" + name); status != ERROR_SUCCESS) {
            outcome.failures.push_back({Failure::Action::WriteKey, keyPath, static_cast<DWORD>(status)});
            continue;
        }
        outcome.removed.push_back(keyPath);
        std::string folder = path::folderOf(loader, isSystemLeadByte);
        if (isModule && std::find(outcome.pluginFolders.begin(), outcome.pluginFolders.end(), folder) ==
                            outcome.pluginFolders.end())
            outcome.pluginFolders.push_back(folder);
    }
    if (applications.open(product.get(), "Applications", KEY_READ) == ERROR_SUCCESS &&
        applications.isEmpty()) {
        applications.close();
        product.deleteSubKey("Applications");
    }
}

void removeTrustedEntries(UninstallOutcome& outcome) {
    for (const std::string& variablesKey : acad::profileVariablesKeys()) {
        acad::TrustedList list = acad::readTrustedPaths(variablesKey);
        if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) continue;
        std::wstring kept = list.text;
        for (const std::string& folder : outcome.pluginFolders)
            kept = acad::removeTrustedFolder(kept, widenFromSystemCodePage(folder), acad::upperInvariant);
        if (kept == list.text) continue;
        list.text = kept;
        std::string valuePath = "HKEY_CURRENT_USER\\" + variablesKey + "\\TRUSTEDPATHS";
        if (DWORD error = acad::writeTrustedPaths(variablesKey, list))
            outcome.failures.push_back({Failure::Action::EditList, valuePath, error});
        else
            outcome.removed.push_back(valuePath);
    }
}

void removePluginFolder(const std::string& folder, UninstallOutcome& outcome) {
    WIN32_FIND_DATAA found;
    StringList names;
    {
        FindHandle listing(FindFirstFileA(path::join(folder, "*.*").c_str(), &found));
        if (!listing.valid()) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isPluginFile(found.cFileName))
                names.push_back(found.cFileName);
        } while (FindNextFileA(listing.get(), &found));
    }
    for (const std::string& name : names) removeFile(path::join(folder, name), outcome);
    removeFile(keptSettingsPath(folder), outcome);
    removeFolderIfEmpty(keptSettingsFolder(folder), outcome);
    removeFolderIfEmpty(folder, outcome);
}

// The plug-in's own files in an AutoCAD folder (a shared library such as itextsharp.dll stays),
// and AutoCAD 2008's plot driver put back.
void cleanAcadFolder(const std::string& location, bool plotDriverRelease, UninstallOutcome& outcome) {
    for (const std::string& name : hostModuleNames()) removeFile(path::join(location, name), outcome);
    for (const char* font : kPluginFontNames)
        removeFile(path::join(path::join(location, kFontsFolderName), font), outcome);
    if (!plotDriverRelease) return;
    std::string drv = path::join(location, kPlotDriverFolderName);
    std::string backup = path::join(drv, kPlotDriverBackupName), driver = path::join(drv, kPlotDriverName);
    if (probePath(backup) != PathIsFile) return;
    SetFileAttributesA(driver.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (MoveFileExA(backup.c_str(), driver.c_str(), MOVEFILE_REPLACE_EXISTING))
        outcome.removed.push_back(driver);
    else
        outcome.failures.push_back({Failure::Action::KeepOriginal, driver, GetLastError()});
}

void removeUserFolder(UninstallOutcome& outcome) {
    std::string appData = userAppDataFolder();
    if (appData.empty()) return;
    removeFile(userSettingsPath(appData, kSettingsFileName), outcome);
    removeFolderIfEmpty(userSettingsFolder(appData), outcome);
}

}  // namespace

bool isPluginFile(const std::string& name) {
    const std::string prefix = kUserFolderName;  // the plug-in's Torlen* files
    return acad::isPluginModuleName(name) || acad::isHostModuleName(name) ||
           narrow::equalsIgnoreCase(name, kSharedLibraryName) ||
           narrow::equalsIgnoreCase(name, kUnattendedInstallerName) ||
           (name.size() >= prefix.size() && narrow::equalsIgnoreCase(name.substr(0, prefix.size()), prefix));
}

UninstallOutcome uninstallPlugin(const AcadInstallations& installations, bool purge, SetupLog& log) {
    UninstallOutcome outcome;
    if (unsigned long error = removeActiveSetup())
        outcome.failures.push_back({Failure::Action::WriteKey, activeSetupKeyName(), error});
    for (const AcadInstallation& installation : installations) removeKeys(installation.productKey, outcome);
    removeTrustedEntries(outcome);
    for (const std::string& folder : outcome.pluginFolders) removePluginFolder(folder, outcome);
    for (const AcadInstallation& installation : installations)
        cleanAcadFolder(installation.location, installation.year == kPlotDriverYear, outcome);
    if (purge) removeUserFolder(outcome);
    if (outcome.pluginFolders.empty()) log.line(logtexts::kNoRegistrationFound);
    for (const std::string& folder : outcome.pluginFolders) log.line(logtexts::kPluginFolder, folder);
    for (const std::string& removed : outcome.removed) log.line(logtexts::kRemovedOrRestored, removed);
    log.failures(outcome.failures);
    return outcome;
}
