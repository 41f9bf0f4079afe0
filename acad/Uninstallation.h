// Removes what an installation added, whether SetUp.exe or SetUpCmd.exe made it.
//
// With the installation's record (deploy/InstallRecord.h): exactly what it lists. A file is
// removed when it is still as it was written (size and SHA-256), and kept and reported when it
// has changed since; every original the installation replaced is put back; the keys it made go;
// a trusted-folder entry goes only where the installation added it (an equal entry that was
// there before stays); the folders it made go when empty.
//
// Without a record (an installation by an earlier build), the demand-load keys are the guide:
// a module key whose LOADER lies in a folder that can be the plug-in's (absolute, its last name
// T-DodudEdiv) names the plug-in's folder, whose own files go (the folder too when nothing else
// is left), with its trusted-folder entries and the key; a key that names any other folder is
// someone else's and is left alone and reported. The plug-in's files in the AutoCAD folders go
// (the shared itextsharp.dll stays) and AutoCAD 2008's own plot driver is put back.
#pragma once

#include <string>
#include <vector>

#include "acad/AcadInstallations.h"
#include "deploy/InstallObserver.h"
#include "deploy/SetupLog.h"

struct InstallationRecord;

struct UninstallOutcome {
    std::vector<std::string> removed;  // what was taken away or put back, one line each
    FailureLog failures;               // what could not be, and files kept because they changed
    std::vector<std::string> pluginFolders;
    std::vector<std::string> othersKeys;  // keys named like the plug-in's that name another folder
    // Files left where they are for now (the running program, removed once it has ended; the
    // logon step kept for users not reached yet), and the folders they keep from going.
    std::vector<std::string> leftInPlace;
    std::vector<std::string> foldersLeft;
};

// Every installation discovery found is looked at, whatever its release; the logon step for
// every user goes too. With purge, the current user's per-user folder with the settings file
// goes too. The files named in leftInPlace stay for now (see UninstallOutcome). Each thing
// removed and each failure is logged. (An uninstallation for every user of the machine, as
// SetUpCmd.exe's, is uninstallForEveryUser: acad/UserRemoval.h.)
UninstallOutcome uninstallPlugin(const AcadInstallations& installations, bool purge, SetupLog& log,
                                 const std::vector<std::string>& leftInPlace = {});

// Undoes a run that stopped part-way over no earlier installation: everything the record
// lists goes (as uninstall would), and the record with it. Logged.
UninstallOutcome undoStoppedRun(SetupLog& log);

// Undoes what a record lists, as uninstall does; the per-user part uses it with a user's record.
void undoRecord(const InstallationRecord& record, UninstallOutcome& outcome);

// Whether a file in the plug-in's folder is the plug-in's own (its modules, its host-side
// libraries, itextsharp.dll, its Torlen* files (its plot driver among them), the unattended
// installer's copy of itself).
bool isPluginFile(const std::string& name);
