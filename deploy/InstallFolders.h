// The folders of an installation: the folder the user chose and the plug-in's folder below it.
// AutoCAD loads the plug-in's module from there into every user's AutoCAD (the demand-load keys
// are machine-wide), from a trusted folder, so no one but the administrators may be able to
// change it, through any path to it: not the folder's contents, not the folder itself (rename,
// delete, take), and not the chosen folder that holds it.
#pragma once

#include <string>

#include "journal/FileItems.h"

// A folder made with the plug-in folder's protected security in the same call (no moment in
// which another user could take it). Undone like any folder the installation made.
class ProtectedFolderItem : public FolderItem {
   public:
    using FolderItem::FolderItem;
    Failure apply() override;
};

// An existing folder given the plug-in folder's security, and, when the process is elevated,
// the Administrators as its owner; for the plug-in's folder also what it already holds, reset to
// inherit from it. What the folder's own list was is kept, to be put back if the run stops.
class FolderSecurityItem : public WorkItem {
   public:
    FolderSecurityItem(std::string folder, bool withContents);
    explicit FolderSecurityItem(const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override { return folder_; }

   private:
    std::string folder_;
    bool withContents_ = false;
    std::string before_;  // the folder's list of rights before, as SDDL
};

// Creates a new folder with the plug-in folder's security, for a program the installer runs
// from it; 0 or the Windows error (ERROR_ALREADY_EXISTS for a folder that is there).
unsigned long createProtectedFolder(const std::string& folder);

// Whether anyone but the administrators (SYSTEM, Administrators, TrustedInstaller) and the
// installing user may rename, delete, take or re-permission the folder, or delete what is in
// it, or owns it. False when the folder does not exist.
bool othersMayChange(const std::string& folder);

// Whether the path is a link to another place (a junction, a symbolic link: a reparse point).
bool isReparsePoint(const std::string& path);
