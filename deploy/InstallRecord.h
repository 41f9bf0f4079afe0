// The record of what an installation wrote, so that uninstall removes exactly that and puts
// back what it replaced: the files written (with size and SHA-256), the originals kept, the
// registry keys made, the trusted-folder entries added and whether each list already trusted
// the folder, and the folders made.
//
// It is kept in the registry below HKEY_LOCAL_MACHINE\SOFTWARE\Torlen\BatchPrint\Installation,
// in the process's own view: each edition keeps its own (the 32 edition's is below Wow6432Node
// on 64-bit Windows), and only administrators may change it. Every item is one numbered subkey
// ("Items\00001", ...) written the moment the thing is done, so that a run that stops half-way
// leaves a record of what it did. An installation over an earlier one adds to its record: for a
// path, the last file written counts, and the first original kept.
//
// Each user keeps a record of the same form of what the logon step of an installation for every
// user added for them (trusted entries, the settings file, its folder), in their own registry
// below HKEY_CURRENT_USER\Software\Torlen\BatchPrint\UserSetup32 (the 64 edition's: ...64).
// Uninstall reads it in every user's registry, so that an entry a user had before stays.
#pragma once

#include <string>
#include <vector>

#include "framework/Registry.h"

struct RecordedItem {
    enum class Kind { File, Kept, Key, Trusted, Folder };
    Kind kind;
    // File, Kept, Folder: the path. Key: the key it was made below (a product key as discovery
    // reached it, or a path below HKEY_LOCAL_MACHINE). Trusted: the profile's Variables key
    // below HKEY_CURRENT_USER.
    std::string path;
    // File: the digest of what was written (fileDigest). Kept: where the original is kept.
    // Key: the key made, below path. Trusted: the folder added.
    std::string detail;
    bool existedBefore = false;  // Trusted: the list trusted the folder already
};

struct InstallationRecord {
    DWORD buildVersion = 0;
    DWORD edition = 0;
    std::string targetFolder;
    bool complete = false;  // false while a run is going on, or when it stopped part-way
    // The plug-in was uninstalled while some users could not be reached: what is left is the
    // logon step that takes their part away at their next logon.
    bool removal = false;
    std::vector<RecordedItem> items;
};

// Whose record: the machine's (this edition's, below HKEY_LOCAL_MACHINE), or the current
// user's record of the per-user part (below HKEY_CURRENT_USER).
enum class RecordScope { Machine, User };

// Reads this edition's record; false when there is none.
bool readInstallRecord(InstallationRecord& record, RecordScope scope = RecordScope::Machine);
// Removes the record; 0 (also when there was none) or the Windows error.
unsigned long eraseInstallRecord(RecordScope scope = RecordScope::Machine);
// 0 when this process may write the record, else the Windows error.
unsigned long installRecordWriteError();
// The record's key, as a log names it.
std::string installRecordKeyName(RecordScope scope = RecordScope::Machine);

// "<size> <SHA-256 in hexadecimal>" of a file; empty when it cannot be read.
std::string fileDigest(const std::string& path);

// Writes the record of one run as it goes.
class InstallRecorder {
   public:
    explicit InstallRecorder(RecordScope scope = RecordScope::Machine) : scope_(scope) {}
    // Starts the record of a run into the target folder, or goes on with the record of an
    // earlier one; from the run's first change on, the record is incomplete until finish.
    // 0 or the Windows error.
    unsigned long begin(const std::string& targetFolder);
    void file(const std::string& path);
    void kept(const std::string& path, const std::string& keptAs);
    void key(const std::string& parentKey, const std::string& subKey);
    // Only the first sight of a folder in a profile's list is recorded: it tells whether the
    // list had the entry before.
    void trusted(const std::string& variablesKey, const std::string& folder, bool existedBefore);
    void folder(const std::string& path);
    // Whether an earlier run recorded writing or keeping the file at this path: it is ours.
    bool isRecorded(const std::string& path) const;
    // Marks the record complete.
    void finish();
    // Marks a complete record as what is left of an uninstallation (see InstallationRecord).
    void markRemoval();
    // The first Windows error met while writing (0: none).
    unsigned long error() const { return error_; }

   private:
    void add(const RecordedItem& item);
    void startRun();

    RecordScope scope_;
    RegistryKey record_;
    RegistryKey items_;
    unsigned long next_ = 1;
    std::vector<std::string> earlierPaths_;
    std::vector<RecordedItem> earlierTrusted_;
    std::string targetFolder_;
    bool started_ = false;
    unsigned long error_ = 0;
};
