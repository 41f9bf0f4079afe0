// One installation, as every front end runs it, in one order: AutoCAD running, the installation
// lock, the chosen folder, discovery, a run cut off earlier undone, the plan (the data folder, the
// length of every path, the rights, the chosen folder, files held by other programs), the changes
// as one run of work items with their progress, the registration for every user, the commit; then
// the part of the account that installs for every user. Everything that can be refused is
// refused before anything is changed; a failure the user does not choose to go on without puts
// everything back.
#pragma once

#include "engine/EngineObserver.h"
#include "engine/Requests.h"
#include "journal/SetupLog.h"

InstallOutcome runInstallation(const InstallRequest& request, EngineObserver& observer, SetupLog& log);
