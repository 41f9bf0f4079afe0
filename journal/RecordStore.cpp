// The record of an installation; see RecordStore.h.
#include "journal/RecordStore.h"

#include "framework/BuildConstants.h"
#include "framework/NarrowString.h"
#include "journal/RegistryItems.h"

namespace {

const char* const kMachineRecord = "SOFTWARE\\Torlen\\BatchPrint\\Installation";
const char* const kProductKey = "SOFTWARE\\Torlen\\BatchPrint";
const char* const kRunList = "Run";
const char* const kRunHeader = "RunHeader";
const DWORD kApplying = 1, kAwaitingCommit = 2;

std::string itemName(unsigned long number) { return narrow::format("%05lu", number); }

bool readItem(const RegistryKey& list, unsigned long number, ItemRecord& item) {
    RegistryKey key;
    DWORD before = 0;
    if (key.open(list.get(), itemName(number), KEY_READ) != ERROR_SUCCESS ||
        !key.readText("Kind", item.kind) || !key.readText("Path", item.path))
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

std::vector<ItemRecord> readList(const RegistryKey& record, const std::string& name) {
    std::vector<ItemRecord> items;
    RegistryKey list;
    if (list.open(record.get(), name, KEY_READ) != ERROR_SUCCESS) return items;
    ItemRecord item;
    for (unsigned long number = 1; readItem(list, number, item); ++number) items.push_back(item);
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
    first += key.writeText("Detail", item.detail);
    if (!item.extra.empty()) first += key.writeText("Extra", item.extra);
    first += key.writeDword("ExistedBefore", item.flag ? 1 : 0);
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
    std::string itemsKey = "Items";
    record.readText("ItemsKey", itemsKey);
    stored.items = readList(record, itemsKey);
    stored.pending = readList(record, kRunList);
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

unsigned long RecordStore::beginRun() {
    RegistryKey record;
    FirstError first;
    first += key_.create(record, kDefaultKeyAccess);
    if (first.status != ERROR_SUCCESS) return static_cast<unsigned long>(first.status);
    LONG deleted = record.deleteTree(kRunList);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
    first += record.writeDword("RunState", kApplying);
    first += record.writeDword("Complete", 0);
    nextRunItem_ = 1;
    return static_cast<unsigned long>(first.status);
}

unsigned long RecordStore::appendToRun(const ItemRecord& item) {
    RegistryKey record, list;
    FirstError first;
    first += key_.open(record, kDefaultKeyAccess);
    if (first.status == ERROR_SUCCESS) first += list.createPath(record.get(), kRunList, kDefaultKeyAccess);
    if (first.status == ERROR_SUCCESS) first += writeItem(list, nextRunItem_++, item);
    return static_cast<unsigned long>(first.status);
}

void RecordStore::dropLastFromRun() {
    RegistryKey record, list;
    if (nextRunItem_ <= 1 || key_.open(record, kDefaultKeyAccess) != ERROR_SUCCESS ||
        list.open(record.get(), kRunList, kDefaultKeyAccess) != ERROR_SUCCESS)
        return;
    list.deleteTree(itemName(--nextRunItem_));
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

unsigned long RecordStore::commit(const RecordHeader& header, const std::vector<ItemRecord>& items) {
    RegistryKey record, list;
    FirstError first;
    first += key_.create(record, kDefaultKeyAccess);
    if (first.status != ERROR_SUCCESS) return static_cast<unsigned long>(first.status);
    std::string current = "Items";
    record.readText("ItemsKey", current);
    const std::string next = current == "Items" ? "Items2" : "Items";
    LONG deleted = record.deleteTree(next);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
    first += list.createPath(record.get(), next, kDefaultKeyAccess);
    for (std::size_t i = 0; first.status == ERROR_SUCCESS && i < items.size(); ++i)
        first += writeItem(list, static_cast<unsigned long>(i + 1), items[i]);
    if (first.status != ERROR_SUCCESS) return static_cast<unsigned long>(first.status);
    // One value names the new list: until it is written, the earlier list is the record.
    first += record.writeText("ItemsKey", next);
    first += writeHeader(record, header);
    first += record.writeDword("Complete", 1);
    first += record.deleteValue("RunState");
    deleted = record.deleteTree(kRunHeader);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
    deleted = record.deleteTree(current);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
    deleted = record.deleteTree(kRunList);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
    return static_cast<unsigned long>(first.status);
}

unsigned long RecordStore::discardRun() {
    StoredRecord stored = read();
    if (!stored.exists) return ERROR_SUCCESS;
    if (stored.items.empty() && stored.header.targetFolder.empty()) return erase();
    RegistryKey record;
    LONG status = key_.open(record, kDefaultKeyAccess);
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    FirstError first;
    LONG deleted = record.deleteTree(kRunList);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
    first += record.deleteValue("RunState");
    first += record.writeDword("Complete", 1);
    deleted = record.deleteTree(kRunHeader);
    if (deleted != ERROR_FILE_NOT_FOUND) first += deleted;
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
