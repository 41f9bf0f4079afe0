// An installation by an earlier build, which kept no record, found through what it left: a
// demand-load key whose LOADER lies in a folder that can be the plug-in's (absolute, its last
// name T-DodudEdiv) names the plug-in's folder; the key, the plug-in's own files in that folder
// (the folder too when nothing else is left), the current user's trusted entries for it, the
// plug-in's files in the AutoCAD folders (the shared itextsharp.dll stays) and AutoCAD 2008's own
// plot driver put back are its items, to be undone as a record's are. A key named like the
// plug-in's that names any other folder is someone else's: it is left alone, and named.
#pragma once

#include <string>
#include <vector>

#include "acad/AcadInstallations.h"
#include "journal/ItemRecord.h"

struct UnrecordedInstallation {
    std::vector<ItemRecord> machine;  // the machine's items, in the order they were made
    std::vector<ItemRecord> user;     // the current user's trusted entries
    std::vector<std::string> pluginFolders;
    std::vector<std::string> othersKeys;  // "<key>  LOADER=<file>"
};
UnrecordedInstallation findUnrecordedInstallation(const AcadInstallations& installations);

// Whether a file in the plug-in's folder is the plug-in's own (its modules, its host-side
// libraries, itextsharp.dll, its Torlen* files (its plot driver among them), the installers'
// copies of themselves, the logon program).
bool isPluginFile(const std::string& name);
