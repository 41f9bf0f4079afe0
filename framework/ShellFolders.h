// The user's roaming application-data folder as the shell reports it, taken from the system
// folder's shell32.dll when first needed (not imported: see ShellLibrary.h).
#pragma once

#include <string>

// Empty when the shell cannot tell.
std::string roamingAppDataFolder();
