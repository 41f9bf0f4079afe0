// Removes what an installation added, whether SetUp.exe or SetUpCmd.exe made it: the logon
// step registered for every user, the plug-in's demand-load keys (found by their LOADER values, which also
// name the plug-in's folder), that folder's entry in every trusted-folder list of the current user, the
// plug-in's files in its folder (the folder too when nothing else is left) and in the AutoCAD folders, and
// AutoCAD 2008's own plot driver put back from its kept copy. Nothing else is touched: other keys below
// "Applications", other list entries, files the plug-in does not ship, shared libraries.
#pragma once

#include <string>
#include <vector>

#include "acad/AcadInstallations.h"
#include "deploy/InstallObserver.h"
#include "deploy/SetupLog.h"

struct UninstallOutcome {
    std::vector<std::string> removed;  // what was taken away or put back, one line each
    FailureLog failures;               // what could not be
    std::vector<std::string> pluginFolders;
};

// Every installation discovery found is looked at, whatever its release; the logon step for
// every user goes too. With purge, the current user's per-user folder with the settings file
// goes too. Each thing removed and each failure is logged.
UninstallOutcome uninstallPlugin(const AcadInstallations& installations, bool purge, SetupLog& log);

// Whether a file in the plug-in's folder is the plug-in's own (its modules, its host-side
// libraries, itextsharp.dll, its Torlen* files (its plot driver among them), the unattended
// installer's copy of itself).
bool isPluginFile(const std::string& name);
