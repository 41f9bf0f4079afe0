// The folders of an installation: the folder the user chose and the plug-in's folder below
// it. AutoCAD loads the plug-in's module from there into every user's AutoCAD (the
// demand-load keys are machine-wide), from a trusted folder, so no one but the administrators
// may be able to change it, through any path to it: not the folder's contents, not the
// folder itself (rename, delete, take), and not the chosen folder that holds it.
#pragma once

#include <string>

#include "deploy/InstallObserver.h"

struct InstallFolders {
    bool createdChosen = false;
    bool createdTarget = false;
    // 0, or why the folders cannot be made safe: the refusal, its subject and Windows error.
    unsigned long error = 0;
    Refusal::Reason refusal = Refusal::Reason::FolderUnprotected;
    std::string subject;
};

// Creates the chosen folder (the target's parent) when it is missing, and the target folder,
// each with the plug-in folder's protected security in the same call (no moment in which
// another user could take them). A chosen folder that exists keeps its rights unless told to
// protect it too (protectChosen). The target folder is secured whether new or not, what an
// earlier installation left in it reset to inherit from it, and, when the process is elevated,
// owned by the Administrators. A chosen or plug-in folder that is a link to another place (a
// reparse point) is refused. A folder that could not be made is not reported here: the copies
// into it fail and are asked about.
InstallFolders createInstallFolders(const std::string& targetFolder, bool protectChosen);

// Creates a new folder with the plug-in folder's security, for a program the installer runs
// from it; 0 or the Windows error (ERROR_ALREADY_EXISTS for a folder that is there).
unsigned long createProtectedFolder(const std::string& folder);

// Whether anyone but the administrators (SYSTEM, Administrators, TrustedInstaller) and the
// installing user may rename, delete, take or re-permission the folder, or delete what is in
// it, or owns it. False when the folder does not exist.
bool othersMayChange(const std::string& folder);
