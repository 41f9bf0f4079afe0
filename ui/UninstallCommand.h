// SetUp.exe's other use: the uninstall command of the Programs and Features entry
// ("<plug-in folder>\SetUp.exe" /uninstall). A window, not a console: it asks, uninstalls as
// SetUpCmd.exe uninstall does, and tells the result.
#pragma once

#include "ui/RestartRules.h"

// Runs the uninstall command. Asked (from the copy in the plug-in's folder, with the user's
// token): after the user's yes, a copy of the program outside the folder the uninstall removes
// is started elevated to do it. Confirmed (that copy): the uninstall itself.
void runUninstall(restart::Uninstall mode);
