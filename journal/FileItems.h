// The work items of files and folders: a file written (with the digest of what was written),
// the original of a file the plug-in replaces kept beside it, a file moved aside for the time of
// a run, and a folder made.
#pragma once

#include <string>

#include "journal/WorkItem.h"

// A file the installation writes. Undone, it goes, unless it has changed since it was written
// (then it is the user's, and stays) or cannot be read to tell (then it stays for a later run).
// A file recorded without a digest (found by name, as an installation of an earlier build that
// kept no record is) goes whatever it holds.
class FileItem : public WorkItem {
   public:
    // Copies source (a file) to destination.
    FileItem(std::string source, std::string destination, Failure::Action failure);
    // Writes bytes held in memory (they must outlive the item's apply).
    FileItem(const void* bytes, std::size_t size, std::string destination, Failure::Action failure);
    // As recorded.
    explicit FileItem(const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override { return path_; }

   private:
    std::string source_;
    const void* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::string path_;
    std::string digest_;
    Failure::Action failure_ = Failure::Action::Copy;
};

// A file the run replaces, moved aside until the run ends: put back if the run stops, deleted
// when it commits. The file written in its place is a FileItem after it.
class FileBackupItem : public WorkItem {
   public:
    FileBackupItem(std::string path, Failure::Action failure);
    explicit FileBackupItem(const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    void commit() override;
    ItemRecord record() const override;
    std::string subject() const override { return path_; }

   private:
    std::string path_;
    std::string backup_;
    Failure::Action failure_ = Failure::Action::Copy;
};

// Another program's file that the plug-in's replaces (AutoCAD 2008's plot driver, another
// program's older shared library), kept beside it under a name nothing loads (keptOriginalPath)
// for as long as the plug-in is installed, and put back when the plug-in's file has gone. A copy
// already kept there (by an earlier installation) is never overwritten.
class KeptOriginalItem : public WorkItem {
   public:
    explicit KeptOriginalItem(std::string path);
    explicit KeptOriginalItem(const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override { return path_; }

   private:
    std::string path_;
    std::string kept_;
};

// A folder the installation makes. Undone, it goes when nothing is left in it; one still holding
// something (a file kept because it changed, a program left to remove itself) stays.
class FolderItem : public WorkItem {
   public:
    explicit FolderItem(std::string path);
    explicit FolderItem(const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override { return path_; }

   protected:
    std::string path_;
};

// Where the original of a file the installation replaces is kept, beside it: a name AutoCAD
// does not load.
std::string keptOriginalPath(const std::string& path);
// Where a file a run replaces waits until the run ends, beside it (the first free number is
// taken; a path's length is judged by the first, as long as keptOriginalPath's).
std::string backupPath(const std::string& path, unsigned number = 1);
