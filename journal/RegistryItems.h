// The work items of the registry: a key written with its values (a demand-load key, the logon
// step's Active Setup component, the entry in Programs and Features), a single value (the
// value of the user's Run key that runs the logon step), and what a run keeps of a key or value
// it replaces, to write it back if the run stops. Keys and values are named below the root of
// the item's store (HKEY_LOCAL_MACHINE for the machine's, HKEY_CURRENT_USER for a user's).
#pragma once

#include <string>
#include <vector>

#include "framework/KeyPath.h"
#include "journal/WorkItem.h"

// A key the installation writes below a parent it does not own (a product key, the Uninstall or
// Active Setup key): rebuilt with exactly the values given. Undone, it goes, and with it the keys
// between it and the parent that nothing else is left in ("Applications" below a product key).
// A key with subkeys of its own cannot be deleted: the values are written over its own, and
// undone, its values go and the key stays.
class KeyItem : public WorkItem {
   public:
    KeyItem(Store store, std::string parent, std::string subKey, std::vector<SavedValue> values,
            Failure::Action failure = Failure::Action::WriteKey);
    KeyItem(Store store, const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override;

   private:
    KeyPath parent() const;
    LONG clearValuesOfKeyWithSubkeys(const RegistryKey& parentKey) const;

    std::string parent_;
    std::string subKey_;
    std::vector<SavedValue> values_;
    Failure::Action failure_;
};

// One value the installation writes into a key it does not own. Undone, it goes.
class ValueItem : public WorkItem {
   public:
    ValueItem(Store store, std::string key, SavedValue value,
              Failure::Action failure = Failure::Action::WriteKey);
    ValueItem(Store store, const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override;

   private:
    std::string key_;
    SavedValue value_;
    Failure::Action failure_;
};

// What a key held before the run rewrote it (nothing, when it was not there): written back when
// the run stops, after the key's own item has been undone. Until the run commits.
class KeyBackupItem : public WorkItem {
   public:
    KeyBackupItem(Store store, std::string parent, std::string subKey);
    KeyBackupItem(Store store, const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override;

   private:
    KeyPath key() const;

    std::string parent_;
    std::string subKey_;
    bool existed_ = false;
    std::vector<SavedValue> values_;
};

// What one value was before the run wrote it. Until the run commits.
class ValueBackupItem : public WorkItem {
   public:
    ValueBackupItem(Store store, std::string key, std::string name);
    ValueBackupItem(Store store, const ItemRecord& recorded);

    Failure apply() override;
    UndoResult undo() override;
    ItemRecord record() const override;
    std::string subject() const override;

   private:
    std::string key_;
    std::string name_;
    bool existed_ = false;
    SavedValue value_;
};

// The root of a store's keys.
HKEY rootOf(Store store);

// Every value of a key as it is stored (strings as UTF-16 bytes), and one written back so.
std::vector<SavedValue> readSavedValues(const RegistryKey& key);
LONG writeSavedValue(const RegistryKey& key, const SavedValue& value);
// A text value (narrow text in the system code page, or UTF-16), stored as Windows keeps text:
// UTF-16 with its terminating zero. (Given without it, the registry functions look at what follows
// the data to decide whether to add one, and the value would differ from one write to the next.)
// And a REG_DWORD.
SavedValue textValue(const std::string& name, const std::string& text);
SavedValue wideValue(const std::string& name, const std::wstring& text, unsigned long type = REG_SZ);
SavedValue dwordValue(const std::string& name, unsigned long number);
