// The work items of files and folders; see FileItems.h.
#include "journal/FileItems.h"

#include <windows.h>

#include "framework/Files.h"

namespace {

// Where a file the run replaces waits: beside it, under a name nothing loads; a name already
// taken (a backup left by a run that was cut off) is not reused.
std::string freeBackupName(const std::string& path) {
    for (unsigned number = 1;; ++number) {
        std::string candidate = backupPath(path, number);
        if (GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) return candidate;
    }
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Deletes a file the installation wrote, whatever its attributes; 0 or the Windows error.
unsigned long deleteFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS
                                                                               : GetLastError();
}

unsigned long moveOver(const std::string& from, const std::string& to) {
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? ERROR_SUCCESS : GetLastError();
}

}  // namespace

std::string keptOriginalPath(const std::string& path) { return path + ".original"; }

std::string backupPath(const std::string& path, unsigned number) {
    return path + ".torlen-" + std::to_string(number);
}

FileItem::FileItem(std::string source, std::string destination, Failure::Action failure)
    : source_(std::move(source)), path_(std::move(destination)), failure_(failure) {}

FileItem::FileItem(const void* bytes, std::size_t size, std::string destination, Failure::Action failure)
    : bytes_(bytes), size_(size), path_(std::move(destination)), failure_(failure) {}

FileItem::FileItem(const ItemRecord& recorded) : path_(recorded.path), digest_(recorded.detail) {}

Failure FileItem::apply() {
    if (!bytes_ && source_.empty()) return {failure_, path_, ERROR_RESOURCE_NAME_NOT_FOUND};
    unsigned long error =
        bytes_ ? writeWithDigest(bytes_, size_, path_, digest_) : copyWithDigest(source_, path_, digest_);
    if (error != ERROR_SUCCESS) return {failure_, path_, error};
    return {};
}

UndoResult FileItem::undo() {
    if (!exists(path_)) return UndoResult::undone();
    if (!digest_.empty()) {
        FileDigest now = digestOf(path_);
        if (now.text.empty()) return UndoResult::failed({Failure::Action::Remove, path_, now.error});
        if (now.text != digest_) return UndoResult::kept({Failure::Action::KeepChanged, path_, 0});
    }
    if (unsigned long error = deleteFile(path_))
        return UndoResult::failed({Failure::Action::Remove, path_, error});
    return UndoResult::undone();
}

ItemRecord FileItem::record() const { return {kinds::kFile, path_, digest_, "", false, {}}; }

FileBackupItem::FileBackupItem(std::string path, Failure::Action failure)
    : path_(std::move(path)), failure_(failure) {}

FileBackupItem::FileBackupItem(const ItemRecord& recorded) : path_(recorded.path), backup_(recorded.extra) {}

Failure FileBackupItem::apply() {
    backup_ = freeBackupName(path_);
    if (!MoveFileExA(path_.c_str(), backup_.c_str(), 0)) return {failure_, path_, GetLastError()};
    return {};
}

UndoResult FileBackupItem::undo() {
    if (!exists(backup_)) return UndoResult::undone();
    if (unsigned long error = moveOver(backup_, path_))
        return UndoResult::failed({Failure::Action::Restore, path_, error});
    return UndoResult::undone();
}

void FileBackupItem::commit() { deleteFile(backup_); }

ItemRecord FileBackupItem::record() const { return {kinds::kFileBackup, path_, "", backup_, true, {}}; }

KeptOriginalItem::KeptOriginalItem(std::string path)
    : path_(std::move(path)), kept_(keptOriginalPath(path_)) {}

KeptOriginalItem::KeptOriginalItem(const ItemRecord& recorded)
    : path_(recorded.path), kept_(recorded.detail) {}

Failure KeptOriginalItem::apply() {
    if (!CopyFileA(path_.c_str(), kept_.c_str(), TRUE))
        return {Failure::Action::KeepOriginal, path_, GetLastError()};
    return {};
}

// The original comes back only once the plug-in's file is gone: a replaced file the user has
// changed since stays, and its original with it.
UndoResult KeptOriginalItem::undo() {
    if (probePath(kept_) != PathIsFile) return UndoResult::undone();
    if (exists(path_)) return UndoResult::kept({});  // the file's own undoing said why
    if (unsigned long error = moveOver(kept_, path_))
        return UndoResult::failed({Failure::Action::KeepOriginal, path_, error});
    return UndoResult::undone();
}

ItemRecord KeptOriginalItem::record() const { return {kinds::kKeptOriginal, path_, kept_, "", false, {}}; }

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {}

FolderItem::FolderItem(const ItemRecord& recorded) : path_(recorded.path) {}

Failure FolderItem::apply() {
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        return {Failure::Action::MakeFolder, path_, GetLastError()};
    return {};
}

UndoResult FolderItem::undo() {
    if (probePath(path_) != PathIsFolder || RemoveDirectoryA(path_.c_str())) return UndoResult::undone();
    if (GetLastError() == ERROR_DIR_NOT_EMPTY) return UndoResult::kept({Failure::Action::Remove, path_, 0});
    return UndoResult::failed({Failure::Action::Remove, path_, GetLastError()});
}

ItemRecord FolderItem::record() const { return {kinds::kFolder, path_, "", "", false, {}}; }
