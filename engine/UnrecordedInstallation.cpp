// An installation that kept no record; see UnrecordedInstallation.h.
#include "engine/UnrecordedInstallation.h"

#include <windows.h>

#include <algorithm>

#include "acad/ReleaseRules.h"
#include "acad/UserProfiles.h"
#include "deploy/DeployRules.h"
#include "deploy/TargetFolderRules.h"
#include "framework/Files.h"
#include "framework/Handles.h"
#include "framework/KeyPath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "journal/FileItems.h"
#include "users/ActiveSetup.h"

namespace {

ItemRecord fileRecord(const std::string& path) { return {kinds::kFile, path, "", "", false, {}}; }

// The plug-in's keys below one product key's "Applications": a module key whose LOADER is a
// plug-in module (its folder is the plug-in's), a library key whose LOADER is a host-side library.
void findKeys(const std::string& productKey, UnrecordedInstallation& found) {
    RegistryKey applications;
    if ((KeyPath{HKEY_LOCAL_MACHINE, productKey} / "Applications").open(applications, KEY_READ) !=
        ERROR_SUCCESS)
        return;
    StringList names;
    listSubKeyNames(applications, names);
    for (const std::string& name : names) {
        RegistryKey key;
        std::string loader;
        if (!acad::isPluginKeyName(name) || key.open(applications.get(), name, KEY_READ) != ERROR_SUCCESS ||
            !key.readText("LOADER", loader))
            continue;
        const std::string file = path::names(loader, isSystemLeadByte).back();
        const std::string folder = path::folderOf(loader, isSystemLeadByte);
        const bool isModule = acad::isPluginModuleName(file);
        if (!isModule && !acad::isHostModuleName(file)) continue;
        if (isModule && !isPluginFolderPath(folder, isSystemLeadByte)) {
            found.othersKeys.push_back(
                (KeyPath{HKEY_LOCAL_MACHINE, productKey} / ("Applications\\" + name)).name() +
                "  LOADER=" + loader);
            continue;
        }
        found.machine.push_back({kinds::kKey, productKey, "Applications\\" + name, "", false, {}});
        if (isModule && std::find(found.pluginFolders.begin(), found.pluginFolders.end(), folder) ==
                            found.pluginFolders.end())
            found.pluginFolders.push_back(folder);
    }
}

void findPluginFolderFiles(const std::string& folder, UnrecordedInstallation& found) {
    found.machine.push_back({kinds::kFolder, folder, "", "", false, {}});
    WIN32_FIND_DATAA entry;
    FindHandle listing(FindFirstFileA(path::join(folder, "*.*").c_str(), &entry));
    if (listing.valid()) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isPluginFile(entry.cFileName))
                found.machine.push_back(fileRecord(path::join(folder, entry.cFileName)));
        } while (FindNextFileA(listing.get(), &entry));
    }
    found.machine.push_back({kinds::kFolder, keptSettingsFolder(folder), "", "", false, {}});
    found.machine.push_back(fileRecord(keptSettingsPath(folder)));
}

// The plug-in's own files in an AutoCAD folder, and AutoCAD 2008's plot driver when its original
// was kept beside it.
void findAcadFolderFiles(const AcadInstallation& installation, UnrecordedInstallation& found) {
    const std::string& location = installation.location;
    for (const std::string& name : hostModuleNames())
        if (probePath(path::join(location, name)) == PathIsFile)
            found.machine.push_back(fileRecord(path::join(location, name)));
    for (const char* font : kPluginFontNames) {
        const std::string path = path::join(path::join(location, kFontsFolderName), font);
        if (probePath(path) == PathIsFile) found.machine.push_back(fileRecord(path));
    }
    if (installation.year != kPlotDriverYear) return;
    const std::string driver = path::join(path::join(location, kPlotDriverFolderName), kPlotDriverName);
    if (probePath(keptOriginalPath(driver)) != PathIsFile) return;
    found.machine.push_back({kinds::kKeptOriginal, driver, keptOriginalPath(driver), "", false, {}});
    found.machine.push_back(fileRecord(driver));
}

}  // namespace

bool isPluginFile(const std::string& name) {
    const std::string prefix = kUserFolderName;  // the plug-in's Torlen* files
    return acad::isPluginModuleName(name) || acad::isHostModuleName(name) ||
           narrow::equalsIgnoreCase(name, kSharedLibraryName) ||
           narrow::equalsIgnoreCase(name, kUnattendedInstallerName) ||
           narrow::equalsIgnoreCase(name, kDialogInstallerName) ||
           narrow::equalsIgnoreCase(name, kLogonProgramName) ||
           (name.size() >= prefix.size() && narrow::equalsIgnoreCase(name.substr(0, prefix.size()), prefix));
}

UnrecordedInstallation findUnrecordedInstallation(const AcadInstallations& installations) {
    UnrecordedInstallation found;
    for (const AcadInstallation& installation : installations) findKeys(installation.productKey, found);
    for (const std::string& folder : found.pluginFolders) findPluginFolderFiles(folder, found);
    for (const AcadInstallation& installation : installations) findAcadFolderFiles(installation, found);
    found.machine.push_back({kinds::kKey, kInstalledComponents, kComponentName, "", false, {}});
    for (const std::string& variablesKey : acad::profileVariablesKeys()) {
        for (const std::string& folder : found.pluginFolders)
            found.user.push_back({kinds::kTrusted, variablesKey, folder, "", false, {}});
    }
    return found;
}
