// The part of an installation for every user that belongs to each user: the plug-in's folder
// trusted in every AutoCAD profile of the user, and the settings file copied into the user's
// folder unless the user has one. Windows runs it as the user logs on, through the logon
// program kept in the plug-in's folder (kLogonProgramName): once after each installation
// (Active Setup, see UserSetup.h) and, until every AutoCAD profile of the user trusts the
// folder, at every logon (a value of the user's Run key that the step writes and, once it is
// done, removes). A user who logs on before AutoCAD made a profile for them so gets the folder
// trusted at the first logon after the profile exists.
//
// What the step adds is recorded in the user's own record (deploy/InstallRecord.h), which
// uninstall reads in every user's registry.
#pragma once

#include <string>

#include "deploy/InstallObserver.h"
#include "deploy/SetupLog.h"

struct UserStepOutcome {
    FailureLog failures;
    // Every AutoCAD profile of the user (at least one) trusts the folder and the settings
    // file is in place: the step does not run at the user's logons any more.
    bool done = false;
};

// Where the step sets itself to run at the user's next logon: a value of the user's Run key,
// named for the edition (HKEY_CURRENT_USER\Software is one for 32-bit and 64-bit programs).
constexpr const char* kUserRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
std::string logonRunValueName();
// The value as a log names it.
std::string logonRunValuePath();
// Removes the value (the step does not run at the user's logons any more); 0 (also when there was
// none) or the Windows error.
unsigned long stopLogonRuns();

// The current user's part for the plug-in's folder, recorded; the logon program is set to run
// at the user's next logon unless it is done (when the plug-in's folder holds the program).
// Logged.
UserStepOutcome setUpForUser(const std::string& targetFolder, SetupLog& log);

// After an installation for every user, the part of the account that installed, at once: what
// fails is logged and left to the account's next logon; it never fails the installation.
// Skipped for SYSTEM (the account deployment tools run as), which runs no AutoCAD, and whose
// per-user folder a 32-bit program sees redirected and may be missing.
void setUpInstallingAccount(const std::string& targetFolder, SetupLog& log);

// The logon program's run for the user logging on. The plug-in's folder is the program's own.
// While the plug-in is installed there, the user's part is set up (setUpForUser); once it has
// been uninstalled, or while what an uninstallation left waits for users it could not reach,
// the user's part is taken away. Appends to the user's TorlenSetup.log. The exit code: 0 done,
// 1 not done yet (runs again at the next logon), 2 something failed.
int runLogonProgram();

// Whether this process runs as SYSTEM.
bool runsAsLocalSystem();
