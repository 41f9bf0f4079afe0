// Removing the plug-in; see Uninstallation.h.
#include "acad/Uninstallation.h"

#include <algorithm>

#include "acad/ReleaseRoots.h"
#include "acad/ReleaseRules.h"
#include "acad/TargetFolderRules.h"
#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "acad/UserSetup.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "deploy/LogTexts.h"
#include "framework/Handles.h"
#include "framework/NarrowString.h"
#include "framework/Paths.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

namespace {

// Whether a file is left in place for now, or a folder holds one.
bool leftInPlace(const std::string& path, const UninstallOutcome& outcome, bool orWithin = false) {
    return std::any_of(outcome.leftInPlace.begin(), outcome.leftInPlace.end(), [&](const std::string& left) {
        return narrow::equalsIgnoreCase(left, path) ||
               (orWithin && left.size() > path.size() && left[path.size()] == '\\' &&
                narrow::equalsIgnoreCase(left.substr(0, path.size()), path));
    });
}

void removeFile(const std::string& filePath, UninstallOutcome& outcome) {
    if (probePath(filePath) != PathIsFile || leftInPlace(filePath, outcome)) return;
    SetFileAttributesA(filePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(filePath.c_str()))
        outcome.removed.push_back(filePath);
    else
        outcome.failures.push_back({Failure::Action::Remove, filePath, GetLastError()});
}

void removeFolderIfEmpty(const std::string& folder, UninstallOutcome& outcome) {
    if (probePath(folder) != PathIsFolder) return;
    if (RemoveDirectoryA(folder.c_str()))
        outcome.removed.push_back(folder);
    else if (leftInPlace(folder, outcome, true))
        outcome.foldersLeft.push_back(folder);
}

// Puts back the original kept beside a file the installation replaced.
void restoreOriginal(const std::string& path, const std::string& kept, UninstallOutcome& outcome) {
    if (probePath(kept) != PathIsFile) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (MoveFileExA(kept.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        outcome.removed.push_back(path);
    else
        outcome.failures.push_back({Failure::Action::KeepOriginal, path, GetLastError()});
}

// Deletes a key made below a product key (or any key below HKEY_LOCAL_MACHINE); the product
// key's "Applications" goes too when nothing is left in it. False when the key could not go.
bool deleteKey(const std::string& parentKey, const std::string& subKey, UninstallOutcome& outcome) {
    RegistryKey parent;
    if (acad::openProductKey(parentKey, parent) != ERROR_SUCCESS) return true;  // gone with its parent
    const std::string keyPath = path::join("HKEY_LOCAL_MACHINE\\" + parentKey, subKey);
    LONG status = parent.deleteSubKey(subKey);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) {
        outcome.failures.push_back({Failure::Action::WriteKey, keyPath, static_cast<DWORD>(status)});
        return false;
    }
    outcome.removed.push_back(keyPath);
    RegistryKey applications;
    if (subKey.compare(0, 13, "Applications\\") == 0 &&
        applications.open(parent.get(), "Applications", KEY_READ) == ERROR_SUCCESS &&
        applications.isEmpty()) {
        applications.close();
        parent.deleteSubKey("Applications");
    }
    return true;
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
        std::string folder = path::folderOf(loader, isSystemLeadByte);
        bool isModule = acad::isPluginModuleName(file);
        if (!isModule && !acad::isHostModuleName(file)) continue;
        std::string keyPath = "HKEY_LOCAL_MACHINE\\" + productKey + "Applications\\" + name;
        if (isModule && !isPluginFolderPath(folder, isSystemLeadByte)) {
            outcome.othersKeys.push_back(keyPath + "  LOADER=" + loader);
            continue;
        }
        if (!deleteKey(productKey, "Applications\\" + name, outcome)) continue;
        if (isModule && std::find(outcome.pluginFolders.begin(), outcome.pluginFolders.end(), folder) ==
                            outcome.pluginFolders.end())
            outcome.pluginFolders.push_back(folder);
    }
}

// Takes the folder's entries out of one profile's list of trusted folders.
void removeTrustedEntry(const std::string& variablesKey, const std::string& folder,
                        UninstallOutcome& outcome) {
    acad::TrustedList list = acad::readTrustedPaths(variablesKey);
    if (list.type != REG_SZ && list.type != REG_EXPAND_SZ) return;
    std::wstring kept =
        acad::removeTrustedFolder(list.text, widenFromSystemCodePage(folder), acad::upperInvariant);
    if (kept == list.text) return;
    list.text = kept;
    std::string valuePath = "HKEY_CURRENT_USER\\" + variablesKey + "\\TRUSTEDPATHS";
    if (DWORD error = acad::writeTrustedPaths(variablesKey, list))
        outcome.failures.push_back({Failure::Action::EditList, valuePath, error});
    else
        outcome.removed.push_back(valuePath);
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
    std::string driver = path::join(path::join(location, kPlotDriverFolderName), kPlotDriverName);
    restoreOriginal(driver, keptOriginalPath(driver), outcome);
}

void removeUserFolder(UninstallOutcome& outcome) {
    std::string appData = userAppDataFolder();
    if (appData.empty()) return;
    removeFile(userSettingsPath(appData, kSettingsFileName), outcome);
    removeFolderIfEmpty(userSettingsFolder(appData), outcome);
}

// An installation by an earlier build, which kept no record: found through its keys.
void removeUnrecorded(const AcadInstallations& installations, UninstallOutcome& outcome) {
    for (const AcadInstallation& installation : installations) removeKeys(installation.productKey, outcome);
    for (const std::string& variablesKey : acad::profileVariablesKeys()) {
        for (const std::string& folder : outcome.pluginFolders)
            removeTrustedEntry(variablesKey, folder, outcome);
    }
    for (const std::string& folder : outcome.pluginFolders) removePluginFolder(folder, outcome);
    for (const AcadInstallation& installation : installations)
        cleanAcadFolder(installation.location, installation.year == kPlotDriverYear, outcome);
}

// A file the installation wrote: removed when it is still what was written, else kept.
void removeRecordedFile(const RecordedItem& item, UninstallOutcome& outcome) {
    if (probePath(item.path) != PathIsFile) return;
    if (fileDigest(item.path) != item.detail) {
        outcome.failures.push_back({Failure::Action::KeepChanged, item.path, 0});
        return;
    }
    removeFile(item.path, outcome);
}

// What the record lists, undone in the reverse order of its doing. For a path, the last file
// written counts (an installation over an earlier one wrote it again) and the first original
// kept (what was there before the plug-in); for a trusted entry, the first record of it.
void removeRecorded(const InstallationRecord& record, UninstallOutcome& outcome) {
    outcome.pluginFolders.push_back(record.targetFolder);
    std::vector<const RecordedItem*> done;
    auto seen = [&](const RecordedItem& item) {
        return std::any_of(done.begin(), done.end(), [&](const RecordedItem* other) {
            return other->kind == item.kind && narrow::equalsIgnoreCase(other->path, item.path) &&
                   (item.kind != RecordedItem::Kind::Trusted ||
                    narrow::equalsIgnoreCase(other->detail, item.detail));
        });
    };
    for (auto item = record.items.rbegin(); item != record.items.rend(); ++item) {
        if (item->kind == RecordedItem::Kind::File && !seen(*item)) removeRecordedFile(*item, outcome);
        if (item->kind == RecordedItem::Kind::Key) deleteKey(item->path, item->detail, outcome);
        if (item->kind == RecordedItem::Kind::Folder) removeFolderIfEmpty(item->path, outcome);
        done.push_back(&*item);
    }
    done.clear();
    for (const RecordedItem& item : record.items) {
        if (seen(item)) continue;
        done.push_back(&item);
        // A replaced file the user has changed since stays, and its original with it.
        if (item.kind == RecordedItem::Kind::Kept && probePath(item.path) != PathIsFile)
            restoreOriginal(item.path, item.detail, outcome);
        if (item.kind == RecordedItem::Kind::Trusted && !item.existedBefore)
            removeTrustedEntry(item.path, item.detail, outcome);
    }
}

void logOutcome(const UninstallOutcome& outcome, SetupLog& log) {
    for (const std::string& key : outcome.othersKeys) log.line(logtexts::kOthersKeyLeft, key);
    for (const std::string& removed : outcome.removed) log.line(logtexts::kRemovedOrRestored, removed);
    log.failures(outcome.failures);
}

}  // namespace

bool isPluginFile(const std::string& name) {
    const std::string prefix = kUserFolderName;  // the plug-in's Torlen* files
    return acad::isPluginModuleName(name) || acad::isHostModuleName(name) ||
           narrow::equalsIgnoreCase(name, kSharedLibraryName) ||
           narrow::equalsIgnoreCase(name, kUnattendedInstallerName) ||
           (name.size() >= prefix.size() && narrow::equalsIgnoreCase(name.substr(0, prefix.size()), prefix));
}

UninstallOutcome undoStoppedRun(SetupLog& log) {
    UninstallOutcome outcome;
    InstallationRecord record;
    if (!readInstallRecord(record)) return outcome;
    log.line(logtexts::kUndoingRun, record.targetFolder);
    removeRecorded(record, outcome);
    if (outcome.failures.empty()) eraseInstallRecord();
    logOutcome(outcome, log);
    return outcome;
}

void undoRecord(const InstallationRecord& record, UninstallOutcome& outcome) {
    removeRecorded(record, outcome);
}

UninstallOutcome uninstallPlugin(const AcadInstallations& installations, bool purge, SetupLog& log,
                                 const std::vector<std::string>& leftInPlace) {
    UninstallOutcome outcome;
    outcome.leftInPlace = leftInPlace;
    InstallationRecord record;
    const bool recorded = readInstallRecord(record);
    if (recorded)
        removeRecorded(record, outcome);
    else
        removeUnrecorded(installations, outcome);
    if (unsigned long error = removeActiveSetup())
        outcome.failures.push_back({Failure::Action::WriteKey, activeSetupKeyName(), error});
    if (purge) removeUserFolder(outcome);
    // A record whose removals failed stays, for the next uninstall to finish.
    bool finished =
        std::none_of(outcome.failures.begin(), outcome.failures.end(),
                     [](const Failure& failure) { return failure.action != Failure::Action::KeepChanged; });
    if (recorded && finished) {
        if (unsigned long error = eraseInstallRecord())
            outcome.failures.push_back({Failure::Action::WriteKey, installRecordKeyName(), error});
    }
    if (outcome.pluginFolders.empty()) log.line(logtexts::kNoRegistrationFound);
    for (const std::string& folder : outcome.pluginFolders) log.line(logtexts::kPluginFolder, folder);
    logOutcome(outcome, log);
    return outcome;
}
