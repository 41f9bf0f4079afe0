// The installer's own executable path, read in one place. Tests point it elsewhere so
// that the search for the setup data folder can run against a prepared folder.
#pragma once

#include <string>

// Full path of the running executable, as GetModuleFileNameA gives it (a buffer of 261
// characters, the size the call is given), or the override when one is set.
std::string moduleFilePath();

// Sets (non-empty) or clears (empty) the path that moduleFilePath returns.
void overrideModuleFilePath(const std::string& path);
