// File and folder steps that never follow a link; see LinkSafeFiles.h.
#include "framework/LinkSafeFiles.h"

// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include "framework/Handles.h"

using foldersafety::Entry;
using foldersafety::EntryKind;

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Shared for everything but deletion: while the handle is open the entry keeps its name.
const DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
// A folder needs FILE_FLAG_BACKUP_SEMANTICS to be opened at all; FILE_FLAG_OPEN_REPARSE_POINT
// opens a link itself rather than what it points to.
const DWORD kAsItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
// How deep resetContentsToInherit goes: far below anything the plug-in ships, far above the
// stack the walk would need for a tree as deep as a path may be long.
const int kMaxDepth = 64;

// The "\\?\" form, in which Windows takes every name as written. In the plain form a name that
// ends in a dot or a space (which a program can create through this form) loses them and
// names another entry: "a.dll." would open "a.dll".
std::wstring literal(const std::wstring& path) { return L"\\\\?\\" + path; }

std::wstring entryPath(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

FileHandle openAsItself(const std::wstring& path, DWORD access, DWORD share) {
    return FileHandle(
        CreateFileW(literal(path).c_str(), access, share, nullptr, OPEN_EXISTING, kAsItself, nullptr));
}

// What an open entry is. 0 or the Windows error.
unsigned long kindOf(HANDLE entry, EntryKind& kind) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(entry, &info)) return GetLastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        kind = EntryKind::Link;
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        kind = EntryKind::Folder;
    else
        kind = info.nNumberOfLinks > 1 ? EntryKind::MultiLinkFile : EntryKind::File;
    return ERROR_SUCCESS;
}

// The refusal of an entry that stands for something else, or 0.
unsigned long refusalOf(EntryKind kind) {
    if (kind == EntryKind::Link) return kLinkRefused;
    return kind == EntryKind::MultiLinkFile ? kOtherNamesRefused : ERROR_SUCCESS;
}

// The owner and DACL of an open object, as GetSecurityInfo gives them, freed at the end.
class SecurityOf {
   public:
    SecurityOf() = default;
    ~SecurityOf() { LocalFree(descriptor_); }
    SecurityOf(const SecurityOf&) = delete;
    SecurityOf& operator=(const SecurityOf&) = delete;
    unsigned long read(HANDLE object, SECURITY_INFORMATION what) {
        return GetSecurityInfo(object, SE_FILE_OBJECT, what, &owner_, nullptr, &dacl_, nullptr, &descriptor_);
    }
    PSID owner() const { return owner_; }
    PACL dacl() const { return dacl_; }

   private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    PSID owner_ = nullptr;
    PACL dacl_ = nullptr;
};

std::string sidText(PSID sid) {
    char* text = nullptr;
    if (!sid || !ConvertSidToStringSidA(sid, &text)) return std::string();
    std::string result = text;
    LocalFree(text);
    return result;
}

// Sets an entry to inherit its folder's entries alone. An entry left with no entries at all
// (its folder passes none on, or the system computes no inheritance for it, as Wine did not
// when the installer first reset folders) would be shut to everyone: it is given the folder's
// own list instead.
unsigned long inheritOnly(HANDLE entry, PACL folderList, PSID owner) {
    ACL empty;
    if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION)) return GetLastError();
    unsigned long error = setSecurity(entry, &empty, false, owner);
    SecurityOf result;
    if (error == ERROR_SUCCESS) error = result.read(entry, DACL_SECURITY_INFORMATION);
    if (error == ERROR_SUCCESS && result.dacl() && result.dacl()->AceCount == 0)
        error = setSecurity(entry, folderList, false);
    return error;
}

FileStep resetEntries(const std::wstring& folder, PACL folderList, PSID owner, int depth);

// Resets one listed entry of a folder; see resetContentsToInherit.
FileStep resetEntry(const std::wstring& folder, const Entry& listed, PACL folderList, PSID owner, int depth) {
    if (refusalOf(listed.kind) != ERROR_SUCCESS) return deleteEntry(folder, listed.name);
    const std::wstring path = entryPath(folder, listed.name);
    // Pinned while it is worked on. What is opened is looked at again: an entry that became a
    // link since it was listed is refused (someone else may change this folder).
    FileHandle entry = openAsItself(
        path, READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES | SYNCHRONIZE | (owner ? WRITE_OWNER : 0),
        kShareAllButDelete);
    EntryKind kind = listed.kind;
    unsigned long error = entry.valid() ? kindOf(entry.get(), kind) : GetLastError();
    if (error == ERROR_SUCCESS) error = refusalOf(kind);
    if (error == ERROR_SUCCESS && kind == EntryKind::Folder) {
        // First its own list, exactly and with nothing it holds touched, so that no one else
        // may add to it while what it holds is reset; then it inherits (below), which on
        // Windows passes on to what it holds, by then free of links.
        error =
            depth < kMaxDepth ? setExactSecurity(entry.get(), folderList, owner) : ERROR_FILENAME_EXCED_RANGE;
        if (error == ERROR_SUCCESS) {
            FileStep inner = resetEntries(path, folderList, owner, depth + 1);
            if (!inner.ok()) return inner;
        }
    }
    if (error == ERROR_SUCCESS) error = inheritOnly(entry.get(), folderList, owner);
    return error == ERROR_SUCCESS ? FileStep{} : FileStep{error, path};
}

FileStep resetEntries(const std::wstring& folder, PACL folderList, PSID owner, int depth) {
    std::vector<Entry> entries;
    FileStep step = listEntries(folder, entries);
    for (auto entry = entries.begin(); step.ok() && entry != entries.end(); ++entry)
        step = resetEntry(folder, *entry, folderList, owner, depth);
    return step;
}

}  // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        reset();
        handle_ = other.handle_;
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    return *this;
}

void FileHandle::reset() {
    if (valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

unsigned long PinnedFolder::open(const std::wstring& path, DWORD access) {
    path_ = path;
    reparsePoint_ = false;
    handle_ = openAsItself(path, access, kShareAllButDelete);
    if (!handle_.valid()) return GetLastError();
    BY_HANDLE_FILE_INFORMATION info = {};
    unsigned long error = GetFileInformationByHandle(handle_.get(), &info) ? ERROR_SUCCESS : GetLastError();
    reparsePoint_ = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (error == ERROR_SUCCESS && !reparsePoint_ && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        error = ERROR_DIRECTORY;
    if (error != ERROR_SUCCESS) handle_.reset();
    return error;
}

FileStep pinFolderChain(const std::wstring& path, FolderChain& chain) {
    chain = FolderChain();
    std::vector<std::wstring> levels;
    if (!foldersafety::folderChain(path, levels)) return {ERROR_BAD_PATHNAME, path};
    for (const std::wstring& level : levels) {
        PinnedFolder folder;
        unsigned long error = folder.open(level);
        // A missing level ends the chain; a missing drive is an error.
        if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && !chain.levels.empty())
            return {};
        if (error == ERROR_SUCCESS && folder.isReparsePoint()) error = kLinkRefused;
        if (error != ERROR_SUCCESS) return {error, level};
        chain.levels.push_back(std::move(folder));
    }
    chain.complete = true;
    return {};
}

FileStep listEntries(const std::wstring& folder, std::vector<Entry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW found;
    FindHandle listing(FindFirstFileW(literal(entryPath(folder, L"*")).c_str(), &found));
    if (!listing.valid()) {
        unsigned long error = GetLastError();  // an empty drive root has not even "." and ".."
        return error == ERROR_FILE_NOT_FOUND ? FileStep{} : FileStep{error, folder};
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = entryPath(folder, name);
        FileHandle entry = openAsItself(path, FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll);
        if (!entry.valid() && GetLastError() == ERROR_FILE_NOT_FOUND) continue;  // gone since it was listed
        EntryKind kind = EntryKind::File;
        unsigned long error = entry.valid() ? kindOf(entry.get(), kind) : GetLastError();
        if (error != ERROR_SUCCESS) return {error, path};
        entries.push_back({name, kind});
    } while (FindNextFileW(listing.get(), &found));
    unsigned long error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? FileStep{} : FileStep{error, folder};
}

unsigned long setSecurity(HANDLE object, PACL dacl, bool protect, PSID owner) {
    SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (protect ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION) |
        (owner ? OWNER_SECURITY_INFORMATION : 0);
    return SetSecurityInfo(object, SE_FILE_OBJECT, what, owner, nullptr, dacl, nullptr);
}

unsigned long setExactSecurity(HANDLE object, PACL dacl, PSID owner) {
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED) ||
        (owner && !SetSecurityDescriptorOwner(&descriptor, owner, FALSE)))
        return GetLastError();
    SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION |
                                (owner ? OWNER_SECURITY_INFORMATION : 0);
    return SetKernelObjectSecurity(object, what, &descriptor) ? ERROR_SUCCESS : GetLastError();
}

FileStep resetContentsToInherit(const PinnedFolder& folder, PSID owner) {
    SecurityOf security;
    unsigned long error = security.read(folder.get(), DACL_SECURITY_INFORMATION);
    // A folder without a list passes nothing on, and its entries would be open to everyone.
    if (error == ERROR_SUCCESS && !security.dacl()) error = ERROR_NO_SECURITY_ON_OBJECT;
    if (error != ERROR_SUCCESS) return {error, folder.path()};
    return resetEntries(folder.path(), security.dacl(), owner, 0);
}

FileStep deleteEntry(const std::wstring& folder, const std::wstring& name) {
    const std::wstring path = entryPath(folder, name);
    FileHandle entry = openAsItself(path, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll);
    unsigned long error = entry.valid() ? deleteThrough(entry.get()) : GetLastError();
    return error == ERROR_SUCCESS ? FileStep{} : FileStep{error, path};
}

FileStep openUnfollowed(const std::wstring& path, DWORD access, bool create, UnfollowedFile& file) {
    file.file.reset();
    std::vector<std::wstring> levels;
    if (!foldersafety::folderChain(path, levels) || levels.size() < 2) return {ERROR_BAD_PATHNAME, path};
    FileStep step = pinFolderChain(levels[levels.size() - 2], file.folders);
    if (!step.ok()) return step;
    if (!file.folders.complete) return {ERROR_PATH_NOT_FOUND, levels[file.folders.levels.size()]};
    const std::wstring& target = levels.back();
    file.file = FileHandle(CreateFileW(literal(target).c_str(), access | FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ, nullptr, create ? OPEN_ALWAYS : OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    EntryKind kind = EntryKind::File;
    unsigned long error = file.file.valid() ? kindOf(file.file.get(), kind) : GetLastError();
    if (error == ERROR_SUCCESS) error = kind == EntryKind::Folder ? ERROR_ACCESS_DENIED : refusalOf(kind);
    if (error == ERROR_SUCCESS) return {};
    file.file.reset();
    return {error, target};
}

FileStep removeUnfollowed(const std::wstring& path) {
    UnfollowedFile file;
    FileStep step = openUnfollowed(path, DELETE, false, file);
    if (!step.ok()) return step;
    unsigned long error = deleteThrough(file.file.get());
    return error == ERROR_SUCCESS ? FileStep{} : FileStep{error, path};
}

// Marks an open entry for deletion as itself. The extended form (Windows 10 1809 and later)
// takes the name away at once and deletes a read-only entry without its attribute being
// cleared first, which for a hard link would change the file behind its other names too.
// Older systems, and Wine 8 (it answers ERROR_INVALID_PARAMETER), get the plain form, which
// refuses a read-only entry.
unsigned long deleteThrough(HANDLE entry) {
    const DWORD deleteAtOnceEvenReadOnly = 0x1 | 0x2 | 0x10;  // DELETE, POSIX_SEMANTICS, IGNORE_READONLY
    const auto dispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
    DWORD flags = deleteAtOnceEvenReadOnly;
    if (SetFileInformationByHandle(entry, dispositionInfoEx, &flags, sizeof flags)) return ERROR_SUCCESS;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition)
               ? ERROR_SUCCESS
               : GetLastError();
}

unsigned long othersMayChange(HANDLE folder, foldersafety::FolderRole role, bool& others,
                              const std::string& administratorAccount) {
    SecurityOf security;
    unsigned long error = security.read(folder, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
    if (error != ERROR_SUCCESS) return error;
    std::vector<foldersafety::AccessEntry> entries;
    if (!security.dacl()) entries.push_back({"S-1-1-0", GENERIC_ALL, false});  // everyone, everything
    for (WORD index = 0; security.dacl() && index < security.dacl()->AceCount; ++index) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(security.dacl(), index, reinterpret_cast<void**>(&header))) return GetLastError();
        // A conditional entry (callback) may grant: it counts as granting. Its layout begins
        // as an ordinary one's.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE)
            continue;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        entries.push_back(
            {sidText(&allowed->SidStart), allowed->Mask, (header->AceFlags & INHERIT_ONLY_ACE) != 0});
    }
    others = foldersafety::othersMayChange(sidText(security.owner()), entries, role, administratorAccount);
    return ERROR_SUCCESS;
}
