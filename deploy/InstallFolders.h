// The folders of an installation: the folder the user chose and the plug-in's folder below
// it. AutoCAD loads the plug-in's module from there into every user's AutoCAD (the
// demand-load keys are machine-wide), so no other user may be able to change what is in it.
#pragma once

#include <string>

// Creates the chosen folder (the target's parent) when it is missing, with the plug-in
// folder's protected security; an existing chosen folder keeps its rights. Then creates the
// target folder, or re-secures it when it exists, so that what an earlier installation left
// in it inherits the same rights. 0, or the Windows error of a folder that was made or found
// but could not be protected (named in unprotected). A folder that could not be made is not
// reported here: the copies into it fail and are asked about.
unsigned long createInstallFolders(const std::string& targetFolder, std::string& unprotected);

// Gives a folder the plug-in folder's protected security (see pluginFolderSddl), passed on
// to everything in it; 0, or the Windows error when Windows refused.
unsigned long securePluginFolder(const std::string& folder);
