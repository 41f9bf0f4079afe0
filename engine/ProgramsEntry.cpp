// The entry in Programs and Features; see ProgramsEntry.h.
#include "engine/ProgramsEntry.h"

#include <windows.h>

#include "deploy/DeployRules.h"
#include "deploy/TargetFolderCopies.h"
#include "framework/BuildConstants.h"
#include "framework/Files.h"
#include "framework/Handles.h"
#include "framework/KeyPath.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "framework/VersionRules.h"
#include "journal/RegistryItems.h"

namespace {

const char* const kUninstallKeys = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kEntryName = "TorlenBatchPrint";

// An installer beside the running program, and its place in the plug-in's folder.
struct InstallerCopy {
    std::string source;
    std::string destination;
};
InstallerCopy installerCopy(const std::string& name, const std::string& targetFolder) {
    return {path::join(path::folderOf(moduleFilePath(), isSystemLeadByte), name),
            path::join(targetFolder, name)};
}
// Whether the installer will be in the plug-in's folder: copied there, or there already.
bool willBeThere(const InstallerCopy& copy) {
    return probePath(copy.source) == PathIsFile || probePath(copy.destination) == PathIsFile;
}

std::wstring quoted(const std::string& path) { return L"\"" + widenFromSystemCodePage(path) + L"\""; }

}  // namespace

std::string programsEntryKeyName() {
    return (KeyPath{HKEY_LOCAL_MACHINE, kUninstallKeys} / kEntryName).name();
}

WorkItems installerCopies(const std::string& targetFolder, bool withDialog, bool withUnattended) {
    WorkItems items;
    for (const char* name : {kDialogInstallerName, kUnattendedInstallerName}) {
        if (!(name == kDialogInstallerName ? withDialog : withUnattended)) continue;
        InstallerCopy copy = installerCopy(name, targetFolder);
        // The running program may be the copy in the plug-in's folder already.
        if (probePath(copy.source) != PathIsFile || narrow::equalsIgnoreCase(copy.source, copy.destination))
            continue;
        for (auto& item : replaceFile(copy.source, copy.destination, Failure::Action::ProgramsEntry)) {
            item->auxiliary = true;
            items.push_back(std::move(item));
        }
    }
    return items;
}

EntryCommands entryCommands(const std::string& targetFolder, bool withDialog, bool withUnattended) {
    EntryCommands commands;
    commands.dialog = withDialog && willBeThere(installerCopy(kDialogInstallerName, targetFolder));
    commands.unattended =
        withUnattended && willBeThere(installerCopy(kUnattendedInstallerName, targetFolder));
    return commands;
}

WorkItems programsEntryItems(const std::string& targetFolder, const EntryCommands& commands,
                             unsigned long kilobytes) {
    const std::string dialog = path::join(targetFolder, kDialogInstallerName);
    const std::string unattended = path::join(targetFolder, kUnattendedInstallerName);
    const std::wstring quiet = quoted(unattended) + L" uninstall";
    std::wstring uninstall = commands.dialog ? quoted(dialog) + L" /uninstall" : quiet;
    std::vector<SavedValue> values = {
        wideValue("DisplayName", kProductDisplayName),
        wideValue("DisplayVersion",
                  widenFromSystemCodePage(versionText(buildVersion).substr(1))),  // without the V
        wideValue("Publisher", L"Torlen"),
        wideValue("InstallLocation", widenFromSystemCodePage(targetFolder)),
        wideValue("DisplayIcon", widenFromSystemCodePage(commands.dialog ? dialog : unattended) + L",0"),
        dwordValue("EstimatedSize", kilobytes),
        dwordValue("NoModify", 1),
        dwordValue("NoRepair", 1),
    };
    if (!commands.packageCode.empty()) {
        const std::wstring removePackage = L"MsiExec.exe /X" + widenFromSystemCodePage(commands.packageCode);
        uninstall = removePackage;
        values.push_back(wideValue("QuietUninstallString", removePackage + L" /qn"));
    } else if (commands.unattended) {
        values.push_back(wideValue("QuietUninstallString", quiet));
    }
    values.push_back(wideValue("UninstallString", uninstall));
    WorkItems items;
    items.push_back(std::make_unique<KeyBackupItem>(Store::Machine, kUninstallKeys, kEntryName));
    items.push_back(std::make_unique<KeyItem>(Store::Machine, kUninstallKeys, kEntryName, values,
                                              Failure::Action::ProgramsEntry));
    for (auto& item : items) item->auxiliary = true;
    return items;
}
