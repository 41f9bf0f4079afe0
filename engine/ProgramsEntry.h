// The installation's entry in Programs and Features (Settings > Apps), where every Windows user
// looks for an installed program and how to remove it, and the installers it runs, copied into
// the plug-in's folder. The entry lives below
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\TorlenBatchPrint in the process's own
// registry view, so that the 32 edition's is where Windows lists 32-bit programs. There is one
// entry however often the plug-in is installed: installing again rewrites it; uninstall removes
// it, as it is in the installation's record. Not needed for AutoCAD to load the plug-in: its
// failures are reported as what they are (auxiliary).
#pragma once

#include <string>

#include "journal/WorkItem.h"

// The installers beside the running program copied into the plug-in's folder: SetUp.exe (for the
// entry's uninstall command) when withDialog, SetUpCmd.exe (the entry's quiet command, deployment
// tools' detection rules, the logon step's home) when withUnattended. Each only when it is there.
WorkItems installerCopies(const std::string& targetFolder, bool withDialog, bool withUnattended);

// Which uninstall commands the entry offers.
struct EntryCommands {
    bool dialog = false;      // "<plug-in folder>\SetUp.exe" /uninstall: asks, and tells
    bool unattended = false;  // "<plug-in folder>\SetUpCmd.exe" uninstall: the quiet one
    // A Windows Installer package's product code: the package owns the installation, and removing
    // it is removing the package (MsiExec.exe /X{code}).
    std::string packageCode;
};
// The commands the installers copied by installerCopies will offer.
EntryCommands entryCommands(const std::string& targetFolder, bool withDialog, bool withUnattended);

// The entry: name, version (as people read it, 2026.01.01), publisher, the plug-in's folder, its
// size, the icon, no Modify or Repair, the uninstall commands.
// kilobytes: what the plug-in's folder will hold.
WorkItems programsEntryItems(const std::string& targetFolder, const EntryCommands& commands,
                             unsigned long kilobytes);

// The entry's key, as a log names it.
std::string programsEntryKeyName();
