// The end of a run a Windows Installer package started. The package's install action installs and
// leaves its run waiting (InstallRequest::holdForCommit): everything is made, and what it replaced
// is kept, until Windows Installer knows whether the whole package went in. Its commit action then
// commits the run, its rollback action rolls it back: an earlier installation the run replaced is
// back whole. Each is a later process, started with the package's product code.
#pragma once

#include <string>

#include "engine/Requests.h"
#include "journal/SetupLog.h"

struct PendingOutcome {
    bool done = false;  // false: no run of this package was waiting (nothing to do), or it failed
    FailureLog failures;
};
PendingOutcome commitPackageRun(const std::string& packageCode, SetupLog& log);
PendingOutcome rollBackPackageRun(const std::string& packageCode, SetupLog& log);
