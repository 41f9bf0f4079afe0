// The folders of an installation: the folder the user chose and the plug-in's folder below it.
// AutoCAD loads the plug-in's module from there into every user's AutoCAD (the demand-load keys
// are machine-wide), from a trusted folder, so no one but the administrators may be able to
// change it, through any path to it: not the folder's contents, not the folder itself (rename,
// delete, take), and no folder above it. The installer runs elevated or as SYSTEM: nothing on the
// way may be a link, and a folder is given the plug-in folder's protection only where that takes
// nobody's rights to their own things away.
#pragma once

#include <string>

#include "framework/FolderSafetyRules.h"
#include "framework/LinkSafeFiles.h"
#include "journal/FileItems.h"

// A folder made with the plug-in folder's protected security in the same call (no moment in
// which another user could take it). Undone like any folder the installation made.
class ProtectedFolderItem : public FolderItem {
   public:
    using FolderItem::FolderItem;
    Failure apply() override;
};

// An existing folder given the plug-in folder's security through its handle, and, when the
// process is elevated, the Administrators as its owner; for the plug-in's folder also what it
// already holds, reset to inherit from it, links and files with other names removed (never
// followed, never re-permissioned). What the folder's own list was is kept, to be put back if the
// run stops.
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

// Creates a new folder with the plug-in folder's security, in one call; 0 or the Windows error
// (ERROR_ALREADY_EXISTS for a folder that is there: one made first by someone else is never used).
unsigned long createProtectedFolder(const std::string& folder);

// The way from the drive root to the plug-in's folder, pinned while the run holds it (no level
// can be renamed or replaced meanwhile), and judged: no level may be a link, and no existing
// folder above the chosen one may be changeable by anyone but the administrators (the account an
// elevated run runs as included). The chosen folder itself, when others may change it, is the
// caller's question (chosenOthersMayChange).
struct WayToPluginFolder {
    FolderChain pinned;
    bool chosenOthersMayChange = false;
    // Why the way is refused (ReparsePoint, UnsafeAncestor, FolderInvalid), or none.
    bool refused = false;
    Refusal refusal{Refusal::Reason::UnsafeAncestor, "", 0};
};
void checkWayToPluginFolder(const std::string& chosen, const std::string& target, WayToPluginFolder& way);

// Whether the chosen folder may be given the plug-in folder's protection: never a drive root, a
// system folder, a user's profile or what holds one; only an empty folder or one holding nothing
// but the plug-in's folder.
foldersafety::ProtectVerdict protectableChosenFolder(const std::string& chosen);

// Whether anyone but the administrators (the account an elevated run runs as included) may
// rename, delete, take or re-permission the folder, add files to it or delete what is in it, or
// owns it. False when the folder does not exist.
bool othersMayChange(const std::string& folder);
