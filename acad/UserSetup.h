// The part of an installation that belongs to each user (the plug-in's folder trusted in every
// AutoCAD profile, the settings file), and its registration for every user of the machine
// through Windows' Active Setup: a component below HKLM\SOFTWARE\Microsoft\Active Setup\Installed
// Components whose stub Windows runs once for each user at logon. The stub is a copy of
// SetUpCmd.exe in the plug-in's folder running "user-setup"; the settings file it installs is
// kept beside it.
#pragma once

#include <string>

#include "deploy/InstallObserver.h"
#include "deploy/SetupLog.h"

class InstallRecorder;

// The current user's part for the plug-in's folder: the folder trusted in every AutoCAD
// profile, the kept settings file copied unless the user has one. Each failure is logged.
FailureLog setUpForUser(const std::string& targetFolder, SetupLog& log);

// Copies this program and the settings file (when the data folder has one: the named one, or
// the one beside the program) into the plug-in's folder and registers the component; 0 or the
// Windows error.
unsigned long registerActiveSetup(const std::string& chosenFolder, const std::string& targetFolder,
                                  const std::string& namedDataFolder, InstallRecorder* recorder = nullptr);
// Removes the component; 0 (also when there was none) or the Windows error.
unsigned long removeActiveSetup();
// 0 when the component can be registered, else the Windows error (a user who is no
// administrator may not write there).
unsigned long activeSetupWriteError();
// The component's key, as a log names it.
std::string activeSetupKeyName();
