// SetUp.exe's other use: the uninstall command of the Programs and Features entry
// ("<plug-in folder>\SetUp.exe" /uninstall). A window, not a console: it asks, uninstalls as
// SetUpCmd.exe uninstall does, and tells the result.
#pragma once

#include "ui/RestartRules.h"

// Runs the uninstall command. Asked (the program in the plug-in's folder, with the user's token):
// after the user's yes, the same program is started elevated to do it. Confirmed (that instance):
// the uninstallation itself, which ends by handing the program's own removal to a copy.
void runUninstall(restart::Uninstall mode);
