// The build version as people read it (the dialog's title, the log).
#pragma once

#include <string>

// The version as shown in the header: V, the year, then month and day with two digits
// each (20260101 gives V2026.01.01).
std::string versionText(int yyyymmdd);
