// The per-user part of an installation for every user of the machine, through Windows' Active
// Setup: a component below HKLM\SOFTWARE\Microsoft\Active Setup\Installed Components whose stub
// Windows runs once for each user at logon. The stub is a copy of SetUpCmd.exe in the
// plug-in's folder running "user-setup"; the settings file it installs is kept beside it.
#pragma once

#include <string>

namespace cli {

// Copies this program and the settings file (when the data folder has one) into the plug-in's
// folder and registers the component; 0 or the Windows error.
unsigned long registerActiveSetup(const std::string& chosenFolder, const std::string& targetFolder,
                                  const std::string& dataFolder);
// Removes the component; 0 (also when there was none) or the Windows error.
unsigned long removeActiveSetup();
// 0 when the component can be registered, else the Windows error (a user who is no
// administrator may not write there).
unsigned long activeSetupWriteError();
// The component's key, as a log names it.
std::string activeSetupKeyName();

// The user's part of the settings file: the copy kept in the plug-in's folder goes into the
// user's own folder, unless the user has one already (their settings stay). 0, or the
// Windows error with the path it concerns.
unsigned long copyKeptSettings(const std::string& targetFolder, std::string& destination);

}  // namespace cli
