// A work item as the installation's record keeps it, and how a run's items join the record of
// the installation when the run commits. Pure code (no Windows headers).
#pragma once

#include <string>
#include <vector>

// A registry value as it was read, kept to be written back.
struct SavedValue {
    std::string name;
    unsigned long type = 0;  // REG_SZ, REG_DWORD ...
    std::string bytes;
};

// One item: one numbered key in the record (see RecordStore.h).
struct ItemRecord {
    std::string kind;                // one of the kinds below
    std::string path;                // a file or folder path, or a key path below the store's root
    std::string detail;              // file: its digest; kept: where the original is; key: the subkey made;
                                     // value: its name; trusted: the folder added
    std::string extra;               // a file backup: where the replaced file waits for the run to end
    bool flag = false;               // trusted: the list had the folder before; a registry backup: there was
                                     // something to keep
    std::vector<SavedValue> values;  // a registry backup: the values kept
};

bool operator==(const SavedValue& one, const SavedValue& other);
bool operator==(const ItemRecord& one, const ItemRecord& other);
inline bool operator!=(const ItemRecord& one, const ItemRecord& other) { return !(one == other); }

namespace kinds {
// What an installation is made of.
constexpr const char* kFile = "file";
constexpr const char* kKeptOriginal = "kept";
constexpr const char* kFolder = "folder";
constexpr const char* kKey = "key";
constexpr const char* kValue = "value";
constexpr const char* kTrusted = "trusted";
// What a run keeps only until it commits: what it replaced, to put it back if it stops.
constexpr const char* kFileBackup = "filebackup";
constexpr const char* kKeyBackup = "keybackup";
constexpr const char* kValueBackup = "valuebackup";
constexpr const char* kFolderSecurity = "security";
// What an uninstallation leaves to a copy of the program once it has ended.
constexpr const char* kRemovalAfterExit = "removal";

bool isRunOnly(const std::string& kind);
}  // namespace kinds

// Whether two recorded items change the same thing (the same file, key, value or entry; paths
// compared without regard to letter case).
bool sameThing(const ItemRecord& one, const ItemRecord& other);

// The installation's record after a run has committed: the earlier items in their order, each
// updated by the run's item for the same thing where the run has one (a file's digest is the
// latest; an original kept, a folder made, a key, a trusted entry and whether the list had it
// before stay as first recorded: they tell of the time before the plug-in), then the run's new
// items in their order. The run's own items (backups) are left out.
std::vector<ItemRecord> mergeRun(std::vector<ItemRecord> installation, const std::vector<ItemRecord>& run);
