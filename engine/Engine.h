// The installation engine as its front ends see it: everything SetUp.exe, SetUpCmd.exe and the
// logon step use of it, and the only engine header a front end includes (the build checks it:
// cmake/CheckIncludes.cmake). One install and one uninstall, each running its whole order itself
// and putting every decision to the front end's observer; what discovery finds; status; the
// logon step; the copy that removes the program after an uninstallation.
#pragma once

#include <string>
#include <vector>

#include "acad/AcadInstallations.h"   // what discovery finds, the release selection
#include "deploy/ProductNames.h"      // the product's names
#include "engine/EngineObserver.h"    // the decisions put to the front end
#include "engine/InstallationLock.h"  // one installer at a time on the machine
#include "engine/PackageRun.h"        // the end of a Windows Installer package's run
#include "engine/PluginStatus.h"      // what of the plug-in is in place
#include "engine/Requests.h"          // what is asked, and what comes back
#include "journal/LogTexts.h"         // the engine's words, which the front ends say too
#include "journal/SetupLog.h"         // the log

InstallOutcome install(const InstallRequest& request, EngineObserver& observer, SetupLog& log);
UninstallOutcome uninstall(const UninstallRequest& request, EngineObserver& observer, SetupLog& log);

// The first product key (HKEY_LOCAL_MACHINE\...) or AutoCAD folder of the selected installations
// that this process may not write, with the Windows error; empty when it may write them all.
// Asked of Windows without writing anything (the dialog's shield on Install).
std::string firstUnwritable(const AcadInstallations& installations, const ReleaseSelection& releases,
                            unsigned long& error);

// The current user's part (the trusted folder in their AutoCAD profiles, the settings file kept in
// the plug-in's folder, when they have none) for the plug-in's folder below the chosen folder, as
// the logon step does it (SetUpCmd user-setup). Refused (and logged) when the folder is not usable.
struct UserSetupOutcome {
    bool refused = false;
    FailureLog failures;
    bool done = false;  // every AutoCAD profile of the user trusts the folder
    std::string targetFolder;
};
UserSetupOutcome setUpThisUser(const std::string& chosenFolder, SetupLog& log);

// The logon program's whole run (TorlenUserSetup.exe); its exit code.
int runLogonProgram();

// The copy that removes the program after an uninstallation from the plug-in's folder is started
// with this switch first; both programs hand such a command line to finishRemovalAfterExit.
extern const wchar_t* const kRemoveAfterExitArgument;
int finishRemovalAfterExit(const std::vector<std::wstring>& arguments);

// The end of a run a Windows Installer package started and left waiting: committed, or rolled
// back (the earlier installation it replaced back whole). done is false when no run of the package
// was waiting.
PendingOutcome commitPackageRun(const std::string& packageCode, SetupLog& log);
PendingOutcome rollBackPackageRun(const std::string& packageCode, SetupLog& log);

// Where SetUp.exe and the logon step keep their log: TorlenSetup.log in the user's temporary folder.
std::wstring userLogPath();
