// The work items of the registry; see RegistryItems.h.
#include "journal/RegistryItems.h"

#include <algorithm>

#include "framework/SystemCodePage.h"

namespace {

std::wstring wideName(const std::string& name) { return widenFromSystemCodePage(name); }

// Deletes the keys of a subkey path that nothing is left in, from the deepest up to (not
// including) the parent.
void deleteEmptiedKeys(const RegistryKey& parent, std::string subKey) {
    for (std::size_t slash = subKey.find_last_of('\\'); slash != std::string::npos;
         slash = subKey.find_last_of('\\')) {
        subKey.erase(slash);
        RegistryKey key;
        if (key.open(parent.get(), subKey, KEY_READ) != ERROR_SUCCESS || !key.isEmpty()) return;
        key.close();
        parent.deleteSubKey(subKey);
    }
}

// Makes a key hold exactly the values given (its subkeys stay).
LONG writeExactly(const RegistryKey& key, const std::vector<SavedValue>& values) {
    for (const SavedValue& present : readSavedValues(key))
        RegDeleteValueW(key.get(), wideName(present.name).c_str());
    for (const SavedValue& value : values) {
        if (LONG status = writeSavedValue(key, value)) return status;
    }
    return ERROR_SUCCESS;
}

// Whether two lists hold the same values, in any order.
bool sameValues(std::vector<SavedValue> one, std::vector<SavedValue> other) {
    const auto byName = [](const SavedValue& a, const SavedValue& b) { return a.name < b.name; };
    std::sort(one.begin(), one.end(), byName);
    std::sort(other.begin(), other.end(), byName);
    return std::equal(one.begin(), one.end(), other.begin(), other.end(),
                      [](const SavedValue& a, const SavedValue& b) {
                          return a.name == b.name && a.type == b.type && a.bytes == b.bytes;
                      });
}

}  // namespace

HKEY rootOf(Store store) { return store == Store::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

std::vector<SavedValue> readSavedValues(const RegistryKey& key) {
    std::vector<SavedValue> values;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::wstring name(longestName + 1, L'\0');
    std::string bytes(longestData, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = longestName + 1, size = longestData, type = REG_NONE;
        if (RegEnumValueW(key.get(), index, &name[0], &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(&bytes[0]), &size) != ERROR_SUCCESS)
            continue;
        SavedValue value;
        narrowToSystemCodePage(name.substr(0, nameLength), value.name);
        value.type = type;
        value.bytes = bytes.substr(0, size);
        values.push_back(value);
    }
    return values;
}

LONG writeSavedValue(const RegistryKey& key, const SavedValue& value) {
    return RegSetValueExW(key.get(), wideName(value.name).c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.bytes.data()),
                          static_cast<DWORD>(value.bytes.size()));
}

SavedValue textValue(const std::string& name, const std::string& text) {
    return wideValue(name, widenFromSystemCodePage(text));
}

SavedValue wideValue(const std::string& name, const std::wstring& text, unsigned long type) {
    return {name, type,
            std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t))};
}

SavedValue dwordValue(const std::string& name, unsigned long number) {
    DWORD value = number;
    return {name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

// --- KeyItem ---------------------------------------------------------------------------------

KeyItem::KeyItem(Store store, std::string parent, std::string subKey, std::vector<SavedValue> values,
                 Failure::Action failure)
    : parent_(std::move(parent)), subKey_(std::move(subKey)), values_(std::move(values)), failure_(failure) {
    this->store = store;
}

KeyItem::KeyItem(Store store, const ItemRecord& recorded)
    : parent_(recorded.path), subKey_(recorded.detail), failure_(Failure::Action::WriteKey) {
    this->store = store;
}

KeyPath KeyItem::parent() const { return {rootOf(store), parent_}; }

std::string KeyItem::subject() const { return (parent() / subKey_).name(); }

Failure KeyItem::apply() {
    RegistryKey parentKey, key;
    if (LONG status = parent().open(parentKey, kDefaultKeyAccess))
        return {Failure::Action::OpenKey, parent().name(), static_cast<unsigned long>(status)};
    parentKey.deleteSubKey(subKey_);
    LONG status = key.createPath(parentKey.get(), subKey_, kDefaultKeyAccess);
    if (status == ERROR_SUCCESS) status = writeExactly(key, values_);
    if (status == ERROR_SUCCESS) return {};
    key.close();
    undo();
    return {failure_, subject(), static_cast<unsigned long>(status)};
}

UndoResult KeyItem::undo() {
    RegistryKey parentKey;
    if (parent().open(parentKey, kDefaultKeyAccess) != ERROR_SUCCESS)
        return UndoResult::undone();  // gone with it
    LONG status = parentKey.deleteSubKey(subKey_);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        status = clearValuesOfKeyWithSubkeys(parentKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return UndoResult::failed({failure_, subject(), static_cast<unsigned long>(status)});
    deleteEmptiedKeys(parentKey, subKey_);
    return UndoResult::undone();
}

// A key that has subkeys of its own (someone else's) stays: the values written over its own go.
// ERROR_ACCESS_DENIED when it has no subkeys (it could not be deleted for another reason).
LONG KeyItem::clearValuesOfKeyWithSubkeys(const RegistryKey& parentKey) const {
    RegistryKey key;
    if (LONG status = key.open(parentKey.get(), subKey_, KEY_READ | KEY_SET_VALUE)) return status;
    if (key.subKeyCount() == 0) return ERROR_ACCESS_DENIED;
    return writeExactly(key, {});
}

ItemRecord KeyItem::record() const { return {kinds::kKey, parent_, subKey_, "", false, {}}; }

// --- ValueItem -------------------------------------------------------------------------------

ValueItem::ValueItem(Store store, std::string key, SavedValue value, Failure::Action failure)
    : key_(std::move(key)), value_(std::move(value)), failure_(failure) {
    this->store = store;
}

ValueItem::ValueItem(Store store, const ItemRecord& recorded)
    : key_(recorded.path), failure_(Failure::Action::WriteKey) {
    value_.name = recorded.detail;
    this->store = store;
}

std::string ValueItem::subject() const { return (KeyPath{rootOf(store), key_} / value_.name).name(); }

Failure ValueItem::apply() {
    RegistryKey key;
    LONG status = KeyPath{rootOf(store), key_}.create(key, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS) status = writeSavedValue(key, value_);
    if (status != ERROR_SUCCESS) return {failure_, subject(), static_cast<unsigned long>(status)};
    return {};
}

UndoResult ValueItem::undo() {
    RegistryKey key;
    if (KeyPath{rootOf(store), key_}.open(key, KEY_SET_VALUE) != ERROR_SUCCESS) return UndoResult::undone();
    if (LONG status = key.deleteValue(value_.name.c_str()))
        return UndoResult::failed({failure_, subject(), static_cast<unsigned long>(status)});
    return UndoResult::undone();
}

ItemRecord ValueItem::record() const { return {kinds::kValue, key_, value_.name, "", false, {}}; }

// --- KeyBackupItem ---------------------------------------------------------------------------

KeyBackupItem::KeyBackupItem(Store store, std::string parent, std::string subKey)
    : parent_(std::move(parent)), subKey_(std::move(subKey)) {
    this->store = store;
}

KeyBackupItem::KeyBackupItem(Store store, const ItemRecord& recorded)
    : parent_(recorded.path), subKey_(recorded.detail), existed_(recorded.flag), values_(recorded.values) {
    this->store = store;
}

KeyPath KeyBackupItem::key() const { return KeyPath{rootOf(store), parent_} / subKey_; }

std::string KeyBackupItem::subject() const { return key().name(); }

Failure KeyBackupItem::apply() {
    RegistryKey key;
    LONG status = this->key().open(key, KEY_READ);
    existed_ = status == ERROR_SUCCESS;
    if (existed_) values_ = readSavedValues(key);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return {Failure::Action::OpenKey, subject(), static_cast<unsigned long>(status)};
    return {};
}

UndoResult KeyBackupItem::undo() {
    if (!existed_) return UndoResult::undone();
    RegistryKey key;
    // A key the run never came to change (its item failed) is left as it is: it may be one the
    // run could not write, and nothing of it is lost.
    if (this->key().open(key, KEY_READ) == ERROR_SUCCESS && sameValues(readSavedValues(key), values_))
        return UndoResult::undone();
    LONG status = this->key().create(key, kDefaultKeyAccess);
    if (status == ERROR_SUCCESS) status = writeExactly(key, values_);
    if (status != ERROR_SUCCESS)
        return UndoResult::failed({Failure::Action::Restore, subject(), static_cast<unsigned long>(status)});
    return UndoResult::undone();
}

ItemRecord KeyBackupItem::record() const {
    return {kinds::kKeyBackup, parent_, subKey_, "", existed_, values_};
}

// --- ValueBackupItem -------------------------------------------------------------------------

ValueBackupItem::ValueBackupItem(Store store, std::string key, std::string name)
    : key_(std::move(key)), name_(std::move(name)) {
    this->store = store;
}

ValueBackupItem::ValueBackupItem(Store store, const ItemRecord& recorded)
    : key_(recorded.path), name_(recorded.detail), existed_(recorded.flag && !recorded.values.empty()) {
    if (existed_) value_ = recorded.values.front();
    this->store = store;
}

std::string ValueBackupItem::subject() const { return (KeyPath{rootOf(store), key_} / name_).name(); }

Failure ValueBackupItem::apply() {
    RegistryKey key;
    existed_ = false;
    if (KeyPath{rootOf(store), key_}.open(key, KEY_READ) != ERROR_SUCCESS) return {};
    for (const SavedValue& value : readSavedValues(key)) {
        if (value.name != name_) continue;
        value_ = value;
        existed_ = true;
    }
    return {};
}

UndoResult ValueBackupItem::undo() {
    if (!existed_) return UndoResult::undone();
    RegistryKey key;
    LONG status = KeyPath{rootOf(store), key_}.create(key, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS) status = writeSavedValue(key, value_);
    if (status != ERROR_SUCCESS)
        return UndoResult::failed({Failure::Action::Restore, subject(), static_cast<unsigned long>(status)});
    return UndoResult::undone();
}

ItemRecord ValueBackupItem::record() const {
    ItemRecord item{kinds::kValueBackup, key_, name_, "", existed_, {}};
    if (existed_) item.values.push_back(value_);
    return item;
}
