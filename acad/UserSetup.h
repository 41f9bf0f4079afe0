// The registration of the logon step (acad/LogonStep.h) for every user of the machine, through
// Windows' Active Setup: a component below HKLM\SOFTWARE\Microsoft\Active Setup\Installed
// Components whose command Windows runs for each user at logon when the version the user
// recorded is missing or lower than the component's. The command is the logon program kept in
// the plug-in's folder, which SetUpCmd.exe carries inside itself; the settings file it installs
// is kept beside it. Every registration raises the version, so that each installation reaches
// every user again.
#pragma once

#include <string>

class InstallRecorder;

// Copies this program, writes the logon program and the settings file (when the data folder has
// one: the named one, or the one beside the program) into the plug-in's folder and registers
// the component; 0 or the Windows error.
unsigned long registerActiveSetup(const std::string& targetFolder, const std::string& namedDataFolder,
                                  InstallRecorder* recorder = nullptr);
// Registers the component once more, with a version higher than the one registered before, for
// the logon program left in the plug-in's folder by an uninstallation that could not reach every
// user; 0 or the Windows error.
unsigned long registerActiveSetupForRemoval(const std::string& targetFolder,
                                            const std::string& registeredBefore, InstallRecorder* recorder);
// The component's version as registered; empty when there is none.
std::string activeSetupVersion();
// Removes the component; 0 (also when there was none) or the Windows error.
unsigned long removeActiveSetup();
// 0 when the component can be registered, else the Windows error (a user who is no
// administrator may not write there).
unsigned long activeSetupWriteError();
// The component's key, as a log names it.
std::string activeSetupKeyName();
