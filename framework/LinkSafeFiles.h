// File and folder steps that never follow a link, for an installer that runs elevated or as
// SYSTEM where a standard user may have planted junctions, symbolic links and hard links.
// Folders are held open as themselves while they are used (pinned), so that no level of a
// path can be renamed or replaced in between; what a folder holds is opened as itself and
// looked at through its handle before anything is done to it; security is read and set
// through handles, never by name. Wide functions throughout: names outside the system code
// page are names like any other.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/FolderSafetyRules.h"

// The Windows errors of our refusals: a link (ERROR_REPARSE_POINT_ENCOUNTERED, which MinGW's
// headers lack) and a file with other names (hard links) where one name was expected.
constexpr unsigned long kLinkRefused = 4395;
constexpr unsigned long kOtherNamesRefused = ERROR_TOO_MANY_LINKS;

// A file or folder handle, closed with CloseHandle; movable, so that pinned folders can be
// kept in a list.
class FileHandle {
   public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { reset(); }
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void reset();

   private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// What a step answers: 0 or the Windows error, and the path the error is about.
struct FileStep {
    unsigned long error = 0;
    std::wstring subject;
    bool ok() const { return error == 0; }
};

// What a pinned folder is opened for by default: reading its attributes and its security.
constexpr DWORD kPinAccess = FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE;

// A folder opened as itself (a link is opened, not followed) and shared for reading and
// writing but not for deletion: while it is held, Windows refuses to rename, move or delete
// it, so its path names this folder and no other.
class PinnedFolder {
   public:
    // 0, or the Windows error; ERROR_DIRECTORY when the path names a file. A reparse point is
    // opened all the same (isReparsePoint() says so): refusing it is the caller's choice.
    unsigned long open(const std::wstring& path, DWORD access = kPinAccess);
    HANDLE get() const { return handle_.get(); }
    const std::wstring& path() const { return path_; }
    bool isReparsePoint() const { return reparsePoint_; }

   private:
    FileHandle handle_;
    std::wstring path_;
    bool reparsePoint_ = false;
};

// Every existing folder of a path, from the drive root ("D:\", never "D:") down, pinned.
struct FolderChain {
    std::vector<PinnedFolder> levels;
    bool complete = false;  // the path itself exists and is the last level
};

// Pins the folders of an absolute path (see foldersafety::folderChain for the forms taken)
// from the root down, and stops at the first one that does not exist. Refused with the level
// named: a reparse point (kLinkRefused), a file (ERROR_DIRECTORY), a path of another form
// (ERROR_BAD_PATHNAME), or a level that cannot be opened (its Windows error).
FileStep pinFolderChain(const std::wstring& path, FolderChain& chain);

// The entries of a folder (never "." and ".."), each opened as itself and classified through
// its handle. Fails with the entry that cannot be opened, or the folder that cannot be listed.
FileStep listEntries(const std::wstring& folder, std::vector<foldersafety::Entry>& entries);

// Sets an open file's or folder's DACL with SetSecurityInfo, and its owner when one is given;
// `protect` keeps it from inheriting, otherwise the parent's inheritable entries are added.
// On Windows this also passes a folder's inheritable entries on to everything it holds (the
// system walks it by name): use it on a folder only once nothing in it is a link.
unsigned long setSecurity(HANDLE object, PACL dacl, bool protect, PSID owner = nullptr);

// Sets an open object's DACL exactly, protected, and its owner when one is given
// (SetKernelObjectSecurity): nothing it holds is touched. For a folder whose contents are not
// yet known to be free of links, such as the plug-in folder before its contents are reset.
unsigned long setExactSecurity(HANDLE object, PACL dacl, PSID owner = nullptr);

// Sets what a pinned folder holds, at every depth, to inherit the folder's entries alone
// (explicit entries go), owned by `owner` when one is given. Links and files with other
// names are deleted as themselves, never re-permissioned and never followed. A folder inside
// is pinned, given the folder's list exactly (no one else may add to it from then on), reset
// within, and only then set to inherit. The folder must be pinned with READ_CONTROL and have
// a DACL; secure it first (setExactSecurity). Stops at the first entry that cannot be done,
// named.
FileStep resetContentsToInherit(const PinnedFolder& folder, PSID owner = nullptr);

// Deletes an entry of a folder as itself: a link goes, what it points to stays; a hard link
// goes, the file's other names stay. A folder must be empty.
FileStep deleteEntry(const std::wstring& folder, const std::wstring& name);

// A file opened without following a link at any level of its path, with every folder of the
// path pinned while it is open.
struct UnfollowedFile {
    FolderChain folders;
    FileHandle file;
};

// Opens (`create`: or creates) a file for `access`, sharing it for reading only. Every folder
// of its path is pinned and must be no link; the file is opened as itself and refused unless
// it is an ordinary file with no other name. Nothing is written: a caller that replaces the
// contents empties the file once it is accepted (SetEndOfFile). Fails with the level or file.
FileStep openUnfollowed(const std::wstring& path, DWORD access, bool create, UnfollowedFile& file);

// Deletes a file opened as openUnfollowed opens it (a user's settings file, from a privileged
// run): a link or a file with other names in its place is refused and left.
FileStep removeUnfollowed(const std::wstring& path);

// Deletes a file, or an empty folder, through a handle opened with DELETE access, at once and
// whatever its read-only bit: the very object judged through the handle, never one put in its
// place by name. 0 or the Windows error (ERROR_DIR_NOT_EMPTY: a folder that holds something).
unsigned long deleteThrough(HANDLE entry);

// Reads a folder's owner and DACL through its handle (opened with READ_CONTROL) and answers
// whether anyone but the administrators may change it in its role (foldersafety rules). A
// folder without a DACL lets everyone do everything. 0 or the Windows error.
unsigned long othersMayChange(HANDLE folder, foldersafety::FolderRole role, bool& others,
                              const std::string& administratorAccount = std::string());
