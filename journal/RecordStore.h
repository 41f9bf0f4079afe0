// Where the record of an installation is kept, and how: the items of the installation, and the
// items of a run that has not committed yet, each written the moment its change is made so that
// a run that is interrupted (the power fails, the process is ended) can still be undone.
//
// The machine's record is below HKEY_LOCAL_MACHINE\SOFTWARE\Torlen\BatchPrint\Installation, in
// the process's own registry view (each edition keeps its own; the 32 edition's is below
// Wow6432Node on 64-bit Windows), where only administrators may write. Each user's record of
// their own part (the trusted folder in their AutoCAD profiles, their settings file, the value
// that runs the logon step) is below HKEY_CURRENT_USER\Software\Torlen\BatchPrint\UserSetup32
// (the 64 edition's: ...64) in their own registry.
//
// Layout: values BuildVersion, Edition, TargetFolder, Owner, OwnerVersion, Removal, Complete; the
// installation's items in the list key named by ItemsKey ("Items" when there is no such value, as
// in records of earlier builds), a run's in the one named by RunKey until it commits or is undone
// (list keys: Items, Items2, Items3). A list holds one numbered key per item ("00001" ..., in
// that order; a committed run's list skips the numbers of its backups) with Kind, Path and, where
// not empty, Detail, Extra, ExistedBefore and a subkey Values (what a registry backup keeps, and a
// trusted entry's list as it was found). A commit names the new installation list in one value,
// so that the record is never half-written.
#pragma once

#include <string>
#include <vector>

#include "framework/KeyPath.h"
#include "journal/ItemRecord.h"

struct RecordHeader {
    unsigned long buildVersion = 0;
    unsigned long edition = 0;
    std::string targetFolder;
    // Who installed: "SetUp.exe", "SetUpCmd.exe", or a Windows Installer package's product code,
    // with the package's version.
    std::string owner;
    std::string ownerVersion;
    // What is left of an uninstallation that could not reach every user: the logon step that
    // takes their part away at their next logon.
    bool removal = false;
};

struct StoredRecord {
    bool exists = false;
    RecordHeader header;
    std::vector<ItemRecord> items;    // the installation
    std::vector<ItemRecord> pending;  // a run that has not committed
    bool awaitingCommit = false;      // the pending run waits for its package's commit or rollback
    RecordHeader pendingHeader;       // the header it will have once committed
    bool complete = true;             // no run pending (an earlier build's record: its Complete value)
};

class RecordStore {
   public:
    RecordStore(HKEY root, std::string keyPath);
    // The machine's record, and the current user's record of their part.
    static RecordStore machine();
    static RecordStore currentUser();

    StoredRecord read() const;
    // The header and the installation's items only (no run's).
    StoredRecord readInstallation() const;
    // The record's key as a log names it.
    std::string name() const { return key_.name(); }
    // 0 when this process may write the record, else the Windows error.
    unsigned long writeError() const;

    // A run starts: its list is made, empty. 0 or the Windows error.
    unsigned long beginRun();
    unsigned long appendToRun(const ItemRecord& item);
    // The last item of the run's list goes (it was undone at once).
    void dropLastFromRun();
    // The run waits for its package's commit or rollback, a later process, with the header it will
    // have once committed.
    unsigned long holdForCommit(const RecordHeader& header);
    // The installation is now header and items (what the items of the run in the record, run,
    // made of it; none when the installation is only rewritten); the run's list goes.
    unsigned long commit(const RecordHeader& header, const std::vector<ItemRecord>& items,
                         const std::vector<ItemRecord>& run = {});
    // The run is undone: its list goes, and the whole record when no installation is left.
    unsigned long discardRun();
    // The whole record goes, and the product's keys above it when nothing else is in them.
    unsigned long erase();

    // The plug-in's folder of the other edition's installation (the 64 edition's for the 32, and the
    // other way round: each keeps its record in its own registry view); empty when there is none.
    static std::string otherEditionsTargetFolder();

   private:
    KeyPath key_;
    RegistryKey runList_;  // the run's list, open from beginRun on
    unsigned long nextRunItem_ = 1;
};
