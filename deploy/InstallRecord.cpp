// The record of an installation; see InstallRecord.h.
#include "deploy/InstallRecord.h"

#include <windows.h>
// after windows.h
#include <wincrypt.h>

#include "framework/BuildConstants.h"
#include "framework/Handles.h"
#include "framework/NarrowString.h"

namespace {

const char* const kRecordKey = "SOFTWARE\\Torlen\\BatchPrint\\Installation";
// HKEY_CURRENT_USER\Software is one for 32-bit and 64-bit programs: each edition keeps its own
// user record there, as it keeps its own machine record in its own view.
const std::string kUserRecordName = "UserSetup" + std::to_string(platformBits);

HKEY rootOf(RecordScope scope) {
    return scope == RecordScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
std::string recordKeyOf(RecordScope scope) {
    return scope == RecordScope::Machine ? kRecordKey
                                         : std::string("SOFTWARE\\Torlen\\BatchPrint\\") + kUserRecordName;
}
const char* const kKindNames[] = {"file", "kept", "key", "trusted", "folder"};

std::string itemName(unsigned long number) { return narrow::format("%05lu", number); }

bool kindOf(const std::string& name, RecordedItem::Kind& kind) {
    for (std::size_t i = 0; i < sizeof kKindNames / sizeof *kKindNames; ++i) {
        if (name == kKindNames[i]) {
            kind = static_cast<RecordedItem::Kind>(i);
            return true;
        }
    }
    return false;
}

bool readItem(const RegistryKey& items, unsigned long number, RecordedItem& item) {
    RegistryKey key;
    std::string kind;
    DWORD before = 0;
    if (key.open(items.get(), itemName(number), KEY_READ) != ERROR_SUCCESS || !key.readText("Kind", kind) ||
        !kindOf(kind, item.kind) || !key.readText("Path", item.path))
        return false;
    key.readText("Detail", item.detail);
    item.existedBefore = key.readDword("ExistedBefore", before) && before != 0;
    return true;
}

std::string hex(const BYTE* bytes, DWORD count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (DWORD i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

// SHA-256 of everything the file handle reads; empty when the system cannot hash.
std::string sha256Of(HANDLE file) {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        return std::string();
    HCRYPTHASH hash = 0;
    std::string digest;
    if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        BYTE buffer[65536];
        DWORD got = 0;
        bool hashed = true;
        while (hashed && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
            hashed = CryptHashData(hash, buffer, got, 0) != FALSE;
        BYTE value[32];
        DWORD size = sizeof value;
        if (hashed && CryptGetHashParam(hash, HP_HASHVAL, value, &size, 0)) digest = hex(value, size);
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
    return digest;
}

// Deletes parent\name when it holds nothing; true when it is gone.
bool deleteIfEmpty(HKEY root, const char* parentPath, const char* name) {
    RegistryKey parent, key;
    if (parent.openPath(root, parentPath, KEY_READ) != ERROR_SUCCESS ||
        key.open(parent.get(), name, KEY_READ) != ERROR_SUCCESS || !key.isEmpty())
        return false;
    key.close();
    return parent.deleteSubKey(name) == ERROR_SUCCESS;
}

}  // namespace

std::string installRecordKeyName(RecordScope scope) {
    return (scope == RecordScope::Machine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") +
           recordKeyOf(scope);
}

bool readInstallRecord(InstallationRecord& record, RecordScope scope) {
    RegistryKey key, items;
    if (key.openPath(rootOf(scope), recordKeyOf(scope), KEY_READ) != ERROR_SUCCESS) return false;
    DWORD complete = 0, removal = 0;
    key.readDword("BuildVersion", record.buildVersion);
    key.readDword("Edition", record.edition);
    key.readText("TargetFolder", record.targetFolder);
    record.complete = key.readDword("Complete", complete) && complete != 0;
    record.removal = key.readDword("Removal", removal) && removal != 0;
    record.items.clear();
    if (items.open(key.get(), "Items", KEY_READ) != ERROR_SUCCESS) return true;
    RecordedItem item;
    for (unsigned long number = 1; readItem(items, number, item); ++number) record.items.push_back(item);
    return true;
}

unsigned long eraseInstallRecord(RecordScope scope) {
    RegistryKey product;
    const HKEY root = rootOf(scope);
    LONG status = product.openPath(root, "SOFTWARE\\Torlen\\BatchPrint", KEY_READ);
    if (status == ERROR_SUCCESS)
        status =
            product.deleteTree(scope == RecordScope::Machine ? std::string("Installation") : kUserRecordName);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
    // The product's keys above it go when nothing else is left in them.
    if (deleteIfEmpty(root, "SOFTWARE\\Torlen", "BatchPrint")) deleteIfEmpty(root, "SOFTWARE", "Torlen");
    return ERROR_SUCCESS;
}

unsigned long installRecordWriteError() {
    RegistryKey key;
    return static_cast<unsigned long>(
        key.createPath(HKEY_LOCAL_MACHINE, kRecordKey, KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
}

std::string fileDigest(const std::string& path) {
    KernelHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return std::string();
    std::string digest = sha256Of(file.get());
    return digest.empty() ? std::string() : std::to_string(size.QuadPart) + " " + digest;
}

unsigned long InstallRecorder::begin(const std::string& targetFolder) {
    targetFolder_ = targetFolder;
    LONG status = record_.createPath(rootOf(scope_), recordKeyOf(scope_), kDefaultKeyAccess);
    if (status == ERROR_SUCCESS) status = items_.createPath(record_.get(), "Items", kDefaultKeyAccess);
    if (status != ERROR_SUCCESS) return error_ = static_cast<unsigned long>(status);
    RecordedItem earlier;
    for (next_ = 1; readItem(items_, next_, earlier); ++next_) {
        if (earlier.kind == RecordedItem::Kind::File || earlier.kind == RecordedItem::Kind::Kept)
            earlierPaths_.push_back(earlier.path);
        if (earlier.kind == RecordedItem::Kind::Trusted) earlierTrusted_.push_back(earlier);
    }
    return ERROR_SUCCESS;
}

// The run's build, edition and folder, and that it has not finished, are written with its
// first change: a run that stops before changing anything leaves the record of the earlier
// installation as it was.
void InstallRecorder::startRun() {
    started_ = true;
    for (LONG written :
         {record_.writeDword("Complete", 0), record_.writeDword("BuildVersion", buildVersion),
          record_.writeDword("Edition", platformBits), record_.writeText("TargetFolder", targetFolder_)}) {
        if (written != ERROR_SUCCESS && error_ == 0) error_ = static_cast<unsigned long>(written);
    }
}

void InstallRecorder::add(const RecordedItem& item) {
    if (!items_) return;
    if (!started_) startRun();
    RegistryKey key;
    LONG status = key.createPath(items_.get(), itemName(next_), kDefaultKeyAccess);
    for (LONG written : {status, key.writeText("Kind", kKindNames[static_cast<int>(item.kind)]),
                         key.writeText("Path", item.path), key.writeText("Detail", item.detail),
                         key.writeDword("ExistedBefore", item.existedBefore ? 1 : 0)}) {
        if (written != ERROR_SUCCESS && error_ == 0) error_ = static_cast<unsigned long>(written);
    }
    ++next_;
}

void InstallRecorder::file(const std::string& path) {
    add({RecordedItem::Kind::File, path, fileDigest(path)});
}

void InstallRecorder::kept(const std::string& path, const std::string& keptAs) {
    add({RecordedItem::Kind::Kept, path, keptAs});
}

void InstallRecorder::key(const std::string& parentKey, const std::string& subKey) {
    add({RecordedItem::Kind::Key, parentKey, subKey});
}

void InstallRecorder::trusted(const std::string& variablesKey, const std::string& folder,
                              bool existedBefore) {
    for (const RecordedItem& earlier : earlierTrusted_) {
        if (narrow::equalsIgnoreCase(earlier.path, variablesKey) &&
            narrow::equalsIgnoreCase(earlier.detail, folder))
            return;
    }
    add({RecordedItem::Kind::Trusted, variablesKey, folder, existedBefore});
    earlierTrusted_.push_back({RecordedItem::Kind::Trusted, variablesKey, folder, existedBefore});
}

void InstallRecorder::folder(const std::string& path) {
    add({RecordedItem::Kind::Folder, path, std::string()});
}

bool InstallRecorder::isRecorded(const std::string& path) const {
    for (const std::string& earlier : earlierPaths_)
        if (narrow::equalsIgnoreCase(earlier, path)) return true;
    return false;
}

void InstallRecorder::finish() {
    if (!record_) return;
    if (!started_) startRun();
    record_.writeDword("Complete", 1);
}

void InstallRecorder::markRemoval() {
    if (record_) record_.writeDword("Removal", 1);
}
