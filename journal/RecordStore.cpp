// The record of an installation; see RecordStore.h.
#include "journal/RecordStore.h"

#include <algorithm>

#include "framework/BuildConstants.h"
#include "framework/NarrowString.h"
#include "journal/RegistryItems.h"

namespace {

const char* const kMachineRecord = "SOFTWARE\\Torlen\\BatchPrint\\Installation";
const char* const kProductKey = "SOFTWARE\\Torlen\\BatchPrint";
const char* const kRunHeader = "RunHeader";
// The keys a list of items is kept in: the installation's (named by ItemsKey; "Items" in records
// of earlier builds), a run's (named by RunKey), and one more for a commit to write anew.
const char* const kListKeys[] = {"Items", "Items2", "Items3"};
const DWORD kApplying = 1, kAwaitingCommit = 2;

std::string itemName(unsigned long number) { return narrow::format("%05lu", number); }

bool readItem(const RegistryKey& list, const std::string& name, ItemRecord& item) {
    RegistryKey key;
    DWORD before = 0;
    if (key.open(list.get(), name, KEY_READ) != ERROR_SUCCESS || !key.readText("Kind", item.kind) ||
        !key.readText("Path", item.path))
        return false;
    item.detail.clear();
    item.extra.clear();
    key.readText("Detail", item.detail);
    key.readText("Extra", item.extra);
    item.flag = key.readDword("ExistedBefore", before) && before != 0;
    RegistryKey values;
    item.values.clear();
    if (values.open(key.get(), "Values", KEY_READ) == ERROR_SUCCESS) item.values = readSavedValues(values);
    return true;
}

std::vector<ItemRecord> readList(const RegistryKey& record, const std::string& name, bool runOnlyToo) {
    std::vector<ItemRecord> items;
    RegistryKey list;
    if (list.open(record.get(), name, KEY_READ) != ERROR_SUCCESS) return items;
    // In the order of their numbers, which a committed run's list may skip (its backups left it).
    std::vector<std::string> names;
    listSubKeyNames(list, names);
    std::sort(names.begin(), names.end());
    ItemRecord item;
    for (const std::string& name : names)
        if (readItem(list, name, item) && (runOnlyToo || !kinds::isRunOnly(item.kind))) items.push_back(item);
    return items;
}

// The first error of several writes.
struct FirstError {
    LONG status = ERROR_SUCCESS;
    void operator+=(LONG next) {
        if (status == ERROR_SUCCESS) status = next;
    }
};

LONG writeItem(const RegistryKey& list, unsigned long number, const ItemRecord& item) {
    RegistryKey key;
    FirstError first;
    first += key.createPath(list.get(), itemName(number), kDefaultKeyAccess);
    if (first.status != ERROR_SUCCESS) return first.status;
    first += key.writeText("Kind", item.kind);
    first += key.writeText("Path", item.path);
    // Values that are empty or 0 are left out (read back so): each write costs a call of the
    // registry, and a run writes one item per file.
    if (!item.detail.empty()) first += key.writeText("Detail", item.detail);
    if (!item.extra.empty()) first += key.writeText("Extra", item.extra);
    if (item.flag) first += key.writeDword("ExistedBefore", 1);
    if (!item.values.empty()) {
        RegistryKey values;
        first += values.createPath(key.get(), "Values", kDefaultKeyAccess);
        for (const SavedValue& value : item.values) first += writeSavedValue(values, value);
    }
    return first.status;
}

// Deletes parent\name when it holds nothing; true when it is gone.
// The header's values, as a record and a held run's header keep them.
void readHeader(const RegistryKey& key, RecordHeader& header) {
    DWORD number = 0;
    if (key.readDword("BuildVersion", number)) header.buildVersion = number;
    if (key.readDword("Edition", number)) header.edition = number;
    key.readText("TargetFolder", header.targetFolder);
    key.readText("Owner", header.owner);
    key.readText("OwnerVersion", header.ownerVersion);
    header.removal = key.readDword("Removal", number) && number != 0;
}

LONG writeHeader(const RegistryKey& key, const RecordHeader& header) {
    FirstError first;
    first += key.writeDword("BuildVersion", header.buildVersion);
    first += key.writeDword("Edition", header.edition);
    first += key.writeText("TargetFolder", header.targetFolder);
    first += key.writeText("Owner", header.owner);
    first += key.writeText("OwnerVersion", header.ownerVersion);
    first += key.writeDword("Removal", header.removal ? 1 : 0);
    return first.status;
}

std::string itemsKeyOf(const RegistryKey& record) {
    std::string name = kListKeys[0];
    record.readText("ItemsKey", name);
    return name;
}

std::string runKeyOf(const RegistryKey& record) {
    std::string name;
    record.readText("RunKey", name);
    return name;
}

// A list key that is neither of the two given.
std::string freeListKey(const std::string& one, const std::string& other) {
    for (const char* name : kListKeys)
        if (!narrow::equalsIgnoreCase(name, one) && !narrow::equalsIgnoreCase(name, other)) return name;
    return kListKeys[2];
}

LONG deleteTreeIfThere(const RegistryKey& record, const std::string& name) {
    LONG status = name.empty() ? ERROR_FILE_NOT_FOUND : record.deleteTree(name);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::vector<ItemRecord> withoutRunOnly(const std::vector<ItemRecord>& run) {
    std::vector<ItemRecord> kept;
    for (const ItemRecord& item : run)
        if (!kinds::isRunOnly(item.kind)) kept.push_back(item);
    return kept;
}

bool deleteIfEmpty(HKEY root, const std::string& parentPath, const std::string& name) {
    RegistryKey parent, key;
    if (parent.openPath(root, parentPath, KEY_READ) != ERROR_SUCCESS ||
        key.open(parent.get(), name, KEY_READ) != ERROR_SUCCESS || !key.isEmpty())
        return false;
    key.close();
    return parent.deleteSubKey(name) == ERROR_SUCCESS;
}

}  // namespace

RecordStore::RecordStore(HKEY root, std::string keyPath) : key_{root, std::move(keyPath)} {}

RecordStore RecordStore::machine() { return RecordStore(HKEY_LOCAL_MACHINE, kMachineRecord); }

// HKEY_CURRENT_USER\Software is one for 32-bit and 64-bit programs: each edition keeps its own
// user record there, as it keeps its own machine record in its own view.
RecordStore RecordStore::currentUser() {
    return RecordStore(HKEY_CURRENT_USER,
                       std::string(kProductKey) + "\\UserSetup" + std::to_string(platformBits));
}

StoredRecord RecordStore::read() const {
    StoredRecord stored;
    RegistryKey record;
    if (key_.open(record, KEY_READ) != ERROR_SUCCESS) return stored;
    stored.exists = true;
    DWORD number = 0;
    readHeader(record, stored.header);
    stored.complete = !record.readDword("Complete", number) || number != 0;
    stored.items = readList(record, itemsKeyOf(record), false);
    const std::string runKey = runKeyOf(record);
    if (!runKey.empty()) stored.pending = readList(record, runKey, true);
    DWORD runState = 0;
    record.readDword("RunState", runState);
    stored.awaitingCommit = runState == kAwaitingCommit && !stored.pending.empty();
    RegistryKey held;
    if (stored.awaitingCommit && held.open(record.get(), kRunHeader, KEY_READ) == ERROR_SUCCESS)
        readHeader(held, stored.pendingHeader);
    if (!stored.pending.empty()) stored.complete = false;
    return stored;
}

unsigned long RecordStore::writeError() const {
    RegistryKey record;
    return static_cast<unsigned long>(key_.create(record, KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
}

StoredRecord RecordStore::readInstallation() const {
    StoredRecord stored;
    RegistryKey record;
    if (key_.open(record, KEY_READ) != ERROR_SUCCESS) return stored;
    stored.exists = true;
    readHeader(record, stored.header);
    stored.items = readList(record, itemsKeyOf(record), false);
    return stored;
}

// The run's list is a key of its own, named in RunKey before it is made; it stays open for the
// run's items, one written after each change.
unsigned long RecordStore::beginRun() {
    RegistryKey record;
    FirstError first;
    runList_.close();
    first += key_.create(record, kDefaultKeyAccess);
    if (first.status != ERROR_SUCCESS) return static_cast<unsigned long>(first.status);
    first += deleteTreeIfThere(record, runKeyOf(record));
    const std::string runKey = freeListKey(itemsKeyOf(record), std::string());
    first += deleteTreeIfThere(record, runKey);
    first += record.writeText("RunKey", runKey);
    first += record.writeDword("RunState", kApplying);
    first += record.writeDword("Complete", 0);
    if (first.status == ERROR_SUCCESS) first += runList_.createPath(record.get(), runKey, kDefaultKeyAccess);
    nextRunItem_ = 1;
    return static_cast<unsigned long>(first.status);
}

unsigned long RecordStore::appendToRun(const ItemRecord& item) {
    if (!runList_) return ERROR_INVALID_HANDLE;
    return static_cast<unsigned long>(writeItem(runList_, nextRunItem_++, item));
}

void RecordStore::dropLastFromRun() {
    if (nextRunItem_ > 1 && runList_) runList_.deleteTree(itemName(--nextRunItem_));
}

unsigned long RecordStore::holdForCommit(const RecordHeader& header) {
    RegistryKey record, held;
    FirstError first;
    first += key_.open(record, kDefaultKeyAccess);
    if (first.status == ERROR_SUCCESS) first += held.createPath(record.get(), kRunHeader, kDefaultKeyAccess);
    if (first.status == ERROR_SUCCESS) first += writeHeader(held, header);
    if (first.status == ERROR_SUCCESS) first += record.writeDword("RunState", kAwaitingCommit);
    return static_cast<unsigned long>(first.status);
}

// A run whose list, but for what only the run keeps (its backups), is the installation's as it is
// to be (a first installation: nothing earlier to merge with) becomes it, once those have left it;
// otherwise the installation's list is written
// whole into a key of its own. Either way one value, ItemsKey, then names the new list: until it
// is written, the earlier list is the record.
unsigned long RecordStore::commit(const RecordHeader& header, const std::vector<ItemRecord>& items,
                                  const std::vector<ItemRecord>& run) {
    RegistryKey record, list;
    FirstError first;
    runList_.close();
    first += key_.create(record, kDefaultKeyAccess);
    if (first.status != ERROR_SUCCESS) return static_cast<unsigned long>(first.status);
    const std::string current = itemsKeyOf(record), runKey = runKeyOf(record);
    const bool runBecomesIt = !runKey.empty() && !run.empty() && items == withoutRunOnly(run);
    std::string next = runKey;
    if (!runBecomesIt) {
        next = freeListKey(current, runKey);
        first += deleteTreeIfThere(record, next);
        first += list.createPath(record.get(), next, kDefaultKeyAccess);
        for (std::size_t i = 0; first.status == ERROR_SUCCESS && i < items.size(); ++i)
            first += writeItem(list, static_cast<unsigned long>(i + 1), items[i]);
        if (first.status != ERROR_SUCCESS) return static_cast<unsigned long>(first.status);
    }
    first += record.writeText("ItemsKey", next);
    first += writeHeader(record, header);
    first += record.writeDword("Complete", 1);
    first += record.deleteValue("RunState");
    first += record.deleteValue("RunKey");
    first += deleteTreeIfThere(record, kRunHeader);
    if (!narrow::equalsIgnoreCase(current, next)) first += deleteTreeIfThere(record, current);
    if (!narrow::equalsIgnoreCase(runKey, next)) first += deleteTreeIfThere(record, runKey);
    // What only the run kept leaves the list that is now the installation's (until then, and if
    // this is cut off, reading the installation passes over it).
    RegistryKey installation;
    if (runBecomesIt && installation.open(record.get(), next, kDefaultKeyAccess) == ERROR_SUCCESS) {
        for (std::size_t i = 0; i < run.size(); ++i)
            if (kinds::isRunOnly(run[i].kind))
                installation.deleteTree(itemName(static_cast<unsigned long>(i + 1)));
    }
    return static_cast<unsigned long>(first.status);
}

unsigned long RecordStore::discardRun() {
    runList_.close();
    const StoredRecord stored = readInstallation();
    if (!stored.exists) return ERROR_SUCCESS;
    if (stored.items.empty() && stored.header.targetFolder.empty()) return erase();
    RegistryKey record;
    LONG status = key_.open(record, kDefaultKeyAccess);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    FirstError first;
    first += deleteTreeIfThere(record, runKeyOf(record));
    first += record.deleteValue("RunKey");
    first += record.deleteValue("RunState");
    first += record.writeDword("Complete", 1);
    first += deleteTreeIfThere(record, kRunHeader);
    return static_cast<unsigned long>(first.status);
}

std::string RecordStore::otherEditionsTargetFolder() {
    // A 64-bit process's other view is the 32-bit one, and the other way round; on 32-bit Windows
    // there is no other.
    BOOL wow64 = FALSE;
    const bool sixtyFourBit = sizeof(void*) == 8;
    if (!sixtyFourBit && !(IsWow64Process(GetCurrentProcess(), &wow64) && wow64)) return std::string();
    RegistryKey record;
    std::string folder;
    DWORD edition = 0;
    if (record.openPath(HKEY_LOCAL_MACHINE, kMachineRecord,
                        KEY_READ | (sixtyFourBit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY)) != ERROR_SUCCESS)
        return folder;
    // Where nothing redirects (a key made to stand in for HKEY_LOCAL_MACHINE), the other view is
    // this edition's own record: its Edition tells.
    if (record.readDword("Edition", edition) && edition == (sixtyFourBit ? 64u : 32u)) return folder;
    record.readText("TargetFolder", folder);
    return folder;
}

unsigned long RecordStore::erase() {
    const std::string& path = key_.path;
    const std::size_t slash = path.find_last_of('\\');
    RegistryKey parent;
    LONG status = KeyPath{key_.root, path.substr(0, slash)}.open(parent, KEY_READ);
    if (status == ERROR_SUCCESS) status = parent.deleteTree(path.substr(slash + 1));
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    // The product's keys above it go when nothing else is left in them.
    if (deleteIfEmpty(key_.root, "SOFTWARE\\Torlen", "BatchPrint"))
        deleteIfEmpty(key_.root, "SOFTWARE", "Torlen");
    return ERROR_SUCCESS;
}
