// The registration of the logon step (users/LogonStep.h) for every user of the machine, through
// Windows' Active Setup: a component below HKLM\SOFTWARE\Microsoft\Active Setup\Installed
// Components whose command Windows runs for each user at logon when the version the user
// recorded is missing or lower than the component's. The command is the logon program kept in
// the plug-in's folder, which SetUpCmd.exe carries inside itself; the settings file it installs
// is kept beside it. Every registration raises the version, so that each installation reaches
// every user again.
#pragma once

#include <string>

#include "journal/WorkItem.h"

// A copy of this program (SetUpCmd.exe, for the quiet uninstall command and for deployment
// tools' detection rules), the logon program it carries and the settings file (when one is
// shipped) in the plug-in's folder, and the component, with a version above the one registered
// before. Not needed for AutoCAD to load the plug-in: their failures are reported (auxiliary).
WorkItems activeSetupItems(const std::string& targetFolder, const std::string& settingsFile);
// The component registered once more, with a version above the one registered before (the
// component's own, or registeredBefore when it was taken away meanwhile), for the logon program
// left in the plug-in's folder by an uninstallation that could not reach every user.
WorkItems activeSetupForRemovalItems(const std::string& targetFolder, const std::string& registeredBefore);

// The component's version as registered; empty when there is none.
std::string activeSetupVersion();
// Where the component is, below HKEY_LOCAL_MACHINE, and its key as a log names it.
constexpr const char* kInstalledComponents = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";
constexpr const char* kComponentName = "TorlenBatchPrint";
std::string activeSetupKeyName();
