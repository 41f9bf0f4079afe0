// Taking the per-user part away (acad/LogonStep.h): what each user's own record lists (the
// trusted entries the step added, an entry the user had before stays; the settings file it
// copied, kept when the user has changed it since; the folder it made, when empty), and the
// value that runs the logon step at the user's logon. An uninstallation does it for every user
// it reaches; the logon program does it for a user it could not reach, at their next logon.
#pragma once

#include <string>
#include <vector>

#include "acad/Uninstallation.h"
#include "deploy/SetupLog.h"

// The current user's part (HKEY_CURRENT_USER as it stands); with purge, a settings file the user
// changed goes too. Logged, keys named below registryName (the user's registry as Windows names
// it, when HKEY_CURRENT_USER stands for another user's).
UninstallOutcome removeCurrentUsersPart(bool purge, SetupLog& log,
                                        const std::string& registryName = "HKEY_CURRENT_USER");

struct EveryUserRemoval {
    std::string componentVersion;  // the logon step's version registered before (empty: none)
    // Users whose part could not be taken away: their registry could not be loaded, something
    // of theirs could not be removed, or their profile roams (the server's copy comes back at
    // their next logon). The logon step takes it away at their next logon.
    std::vector<std::string> leftForLogon;
};

// Every user's part, in every user's registry that can be reached (acad/UserHives.h). Logged,
// each user named; what fails is logged and left for the user's next logon.
EveryUserRemoval removeEveryUsersPart(bool purge, SetupLog& log);

// The uninstallation by an administrator or SYSTEM: every user's part first, then the machine's
// (uninstallPlugin). For users left for their next logon the logon program stays in the plug-in's
// folder while the rest goes, registered with Active Setup again (a higher version: it runs for
// every user once more) and recorded anew, marked as what is left of an uninstallation; the next
// uninstallation removes it. Run from the plug-in's folder, SetUpCmd.exe removes itself once it
// has ended (acad/SelfRemoval.h). Logged.
UninstallOutcome uninstallForEveryUser(const AcadInstallations& installations, bool purge, SetupLog& log);
