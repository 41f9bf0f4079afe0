// Which folders the installer may make its own, and who besides the administrators could
// change a folder on the way to the plug-in's module. The installer runs elevated or as
// SYSTEM; a standard user may type any path into its dialog, create folders below a drive
// root and plant links: these rules decide what such input may make the installer do. Pure
// code (no Windows headers): the Windows side lists folders and reads security descriptors
// (LinkSafeFiles.h) and hands the results here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foldersafety {

// An entry of a folder, seen as itself (a link is never followed). A hard link is a file
// with more than one name: the other names may lie anywhere on the volume.
enum class EntryKind { File, Folder, Link, MultiLinkFile };
struct Entry {
    std::wstring name;
    EntryKind kind;
};

// Whether two names are the same name to the file system. The Windows side passes its
// ordinal comparison without case (CompareStringOrdinal); the default folds a..z only.
using SameName = bool (*)(const std::wstring& a, const std::wstring& b);
bool sameNameIgnoringAsciiCase(const std::wstring& a, const std::wstring& b);

// The folders an absolute path names from the drive root down: "D:\a\b" gives "D:\",
// "D:\a", "D:\a\b"; "D:" and "D:\" give "D:\" (never "D:", which Windows takes for the
// current folder of drive D). '/' counts as a separator. False for anything else: relative,
// network and "\\?\" paths, empty names, "." and "..", characters no name may hold (':' would
// name a stream), names that end in a dot or a space (Windows drops those, so the name
// would stand for another), and device names (CON, NUL, COM1 ...: Windows opens the device).
bool folderChain(const std::wstring& path, std::vector<std::wstring>& levels);

// The folders that belong to the system or to a user, as the Windows side finds them.
// Empty paths are ignored.
struct KnownFolders {
    std::wstring windows;  // the Windows folder: itself, what holds it and what it holds
    std::vector<std::wstring>
        system;  // Program Files, ProgramData, the users' root: these and what holds them
    std::vector<std::wstring> profiles;  // every profile folder: these and what holds them
};

// Why a chosen folder may or may not get the plug-in folder's protection (its rights taken
// from everyone but the administrators).
enum class ProtectVerdict {
    Allowed,
    NotAFullPath,       // not an absolute local path of acceptable names (see folderChain)
    DriveRoot,          // "D:\" or "D:"
    SystemFolder,       // a system folder, a folder that holds one, or a folder in the Windows folder
    ProfileFolder,      // a user's profile folder or a folder that holds one
    HoldsOtherEntries,  // holds something besides the plug-in's own folder
};
ProtectVerdict mayProtectChosenFolder(const std::wstring& chosen, const std::vector<Entry>& contents,
                                      const std::wstring& pluginFolderName, const KnownFolders& known,
                                      SameName sameName = sameNameIgnoringAsciiCase);

// One access-allowed entry of a folder's list: whom (a SID as text), what (an access mask),
// and whether it only passes on to what the folder holds (INHERIT_ONLY_ACE).
struct AccessEntry {
    std::string sid;
    std::uint32_t mask;
    bool inheritOnly;
};

// SYSTEM, the Administrators group and TrustedInstaller.
bool isAdministratorSid(const std::string& sid);

// A mask with its generic rights replaced by the file rights they stand for.
std::uint32_t fileRights(std::uint32_t mask);

// Where a folder stands on the way to the plug-in's module.
enum class FolderRole {
    Ancestor,      // the drive root and every folder down to the plug-in folder's parent
    PluginFolder,  // the folder AutoCAD loads the module from
};

// Whether anyone but the administrators owns the folder or may rename or delete it (DELETE),
// re-permission or take it (WRITE_DAC, WRITE_OWNER) or delete what it holds
// (FILE_DELETE_CHILD: the next folder down could be replaced). For the plug-in folder, adding
// or writing files counts too (a DLL planted beside the module), and so do entries that only
// pass on: they are the rights its files get. For an ancestor, creating new entries replaces
// nothing and does not count (users may create folders below C:\). Deny entries are not
// looked at: the answer errs towards "others may". administratorAccount, when not empty, is an
// administrator's own account (the one an elevated or SYSTEM run runs as): what it owns or may
// change counts as the administrators'.
bool othersMayChange(const std::string& ownerSid, const std::vector<AccessEntry>& entries, FolderRole role,
                     const std::string& administratorAccount = std::string());

}  // namespace foldersafety
