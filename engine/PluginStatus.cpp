// What of the plug-in is in place; see PluginStatus.h.
#include "engine/PluginStatus.h"

#include <algorithm>

#include "acad/ReleaseRules.h"
#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "deploy/DeployRules.h"
#include "framework/Files.h"
#include "framework/KeyPath.h"
#include "journal/RecordStore.h"
#include "framework/Paths.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

namespace {

bool allPresent(const std::vector<PresentItem>& items) {
    return std::all_of(items.begin(), items.end(), [](const PresentItem& item) { return item.present; });
}

InstallationStatus inspectInstallation(const AcadInstallation& installation, int platformBits,
                                       std::vector<std::string>& pluginFolders) {
    const std::string& productKey = installation.productKey;
    const std::string& location = installation.location;
    InstallationStatus status{installation.year, productNameOf(productKey), productKey, location, {}, {}, {}};
    RegistryKey product;
    bool opened = KeyPath{HKEY_LOCAL_MACHINE, productKey}.open(product, KEY_READ) == ERROR_SUCCESS;
    for (const acad::DemandLoadKey& expected :
         acad::demandLoadKeys(installation.year, platformBits, "", location)) {
        RegistryKey key;
        std::string loader;
        bool present = opened && key.openPath(product.get(), expected.path, KEY_READ) == ERROR_SUCCESS &&
                       key.readText("LOADER", loader);
        status.keys.push_back({"HKEY_LOCAL_MACHINE\\" + productKey + expected.path, present});
        if (!present) continue;
        status.loaders.push_back({loader, probePath(loader) == PathIsFile});
        std::string folder = path::folderOf(loader, isSystemLeadByte);
        if (!expected.managed &&
            std::find(pluginFolders.begin(), pluginFolders.end(), folder) == pluginFolders.end())
            pluginFolders.push_back(folder);
    }
    acad::ReleaseFiles releaseFiles;
    acad::releaseFiles(installation.year, releaseFiles);
    for (const std::string& name :
         {hostModuleName(releaseFiles.libraryYear), std::string(kSharedLibraryName)})
        status.files.push_back(
            {path::join(location, name), probePath(path::join(location, name)) == PathIsFile});
    // The fonts go where AutoCAD keeps them; an installation without a Fonts folder has none.
    std::string fonts = path::join(location, kFontsFolderName);
    if (probePath(fonts) == PathIsFolder) {
        for (const char* name : kPluginFontNames)
            status.files.push_back(
                {path::join(fonts, name), probePath(path::join(fonts, name)) == PathIsFile});
    }
    return status;
}

}  // namespace

bool InstallationStatus::complete() const {
    return allPresent(keys) && allPresent(loaders) && allPresent(files);
}

bool PluginStatus::complete() const {
    return !installations.empty() &&
           std::all_of(installations.begin(), installations.end(),
                       [](const InstallationStatus& status) { return status.complete(); }) &&
           allPresent(profiles) && recordComplete;
}

PluginStatus inspectPlugin(const AcadInstallations& installations, const ReleaseSelection& releases,
                           int platformBits) {
    PluginStatus status;
    for (const AcadInstallation& installation : selectedInstallations(installations, releases))
        status.installations.push_back(inspectInstallation(installation, platformBits, status.pluginFolders));
    for (const std::string& variablesKey : acad::profileVariablesKeys()) {
        std::wstring list = acad::readTrustedPaths(variablesKey).text;
        bool trusted = !status.pluginFolders.empty();
        for (const std::string& folder : status.pluginFolders)
            trusted =
                trusted && acad::trustsFolder(list, widenFromSystemCodePage(folder), acad::upperInvariant);
        status.profiles.push_back({"HKEY_CURRENT_USER\\" + variablesKey, trusted});
    }
    const StoredRecord record = RecordStore::machine().read();
    if (record.exists) {
        status.installedBuild = record.header.buildVersion;
        status.recordComplete = record.complete;
    }
    return status;
}
