// The part of an installation for every user that belongs to each user (users/UserPart.h), done
// as the user logs on by the logon program kept in the plug-in's folder (kLogonProgramName):
// Windows runs it once after each installation (Active Setup, see ActiveSetup.h) and, until every
// AutoCAD profile of the user trusts the folder, at every logon (a value of the user's Run key
// that the step writes and, once it is done, removes). A user who logs on before AutoCAD made a
// profile for them so gets the folder trusted at the first logon after the profile exists.
#pragma once

#include <string>

#include "journal/Failure.h"
#include "journal/SetupLog.h"

struct UserStepOutcome {
    FailureLog failures;
    // Every AutoCAD profile of the user (at least one) trusts the folder and the settings file
    // is in place: the step does not run at the user's logons any more.
    bool done = false;
};

// The current user's part for the plug-in's folder, recorded in their own record, as one run; the
// logon program is set to run at the user's next logon unless it is done (when the plug-in's folder
// holds the program). A settings file the user has stays theirs. Logged.
UserStepOutcome setUpForUser(const std::string& targetFolder, SetupLog& log);

// The logon program's run for the user logging on. The plug-in's folder is the program's own.
// While the plug-in is installed there, the user's part is set up (setUpForUser); once it has
// been uninstalled, or while what an uninstallation left waits for users it could not reach,
// the user's part is taken away. Appends to the user's TorlenSetup.log. The exit code: 0 done,
// 1 not done yet (runs again at the next logon), 2 something failed.
int runLogonProgram();
