// The items of a record as work items; see RecordedItems.h.
#include "users/RecordedItems.h"

#include "acad/TrustedEntryItem.h"
#include "deploy/InstallFolders.h"
#include "framework/SystemCodePage.h"
#include "journal/FileItems.h"
#include "journal/Journal.h"
#include "journal/RegistryItems.h"
#include "users/UserPart.h"
#include "users/UserRecordRules.h"

std::unique_ptr<WorkItem> recordedItem(const ItemRecord& recorded, Store store) {
    std::unique_ptr<WorkItem> item;
    const std::string& kind = recorded.kind;
    if (kind == kinds::kFile) item = std::make_unique<FileItem>(recorded);
    if (kind == kinds::kKeptOriginal) item = std::make_unique<KeptOriginalItem>(recorded);
    if (kind == kinds::kFolder) item = std::make_unique<FolderItem>(recorded);
    if (kind == kinds::kFileBackup) item = std::make_unique<FileBackupItem>(recorded);
    if (kind == kinds::kFolderSecurity) item = std::make_unique<FolderSecurityItem>(recorded);
    if (kind == kinds::kKey) return std::make_unique<KeyItem>(store, recorded);
    if (kind == kinds::kKeyBackup) return std::make_unique<KeyBackupItem>(store, recorded);
    if (kind == kinds::kValue) return std::make_unique<ValueItem>(store, recorded);
    if (kind == kinds::kValueBackup) return std::make_unique<ValueBackupItem>(store, recorded);
    if (kind == kinds::kTrusted) return std::make_unique<TrustedEntryItem>(store, recorded);
    if (item) item->store = store;
    return item;
}

std::unique_ptr<WorkItem> admittedUserItem(const ItemRecord& recorded, const UserIdentity& user,
                                           unsigned long& refusal) {
    refusal = ERROR_SUCCESS;
    switch (userrecord::judge(recorded, logonRunValueName(), isSystemLeadByte)) {
        case userrecord::Verdict::InUsersRegistry:
            return recordedItem(recorded, Store::User);
        case userrecord::Verdict::UsersFile:
            // A settings file moved aside by a run comes back by name: both names are the user's
            // own, confirmed, and hold nothing but the settings file.
            refusal = confirmUsersOwn(recorded.path, user.profileFolder, user.sid);
            if (refusal == ERROR_SUCCESS && recorded.kind == kinds::kFileBackup)
                refusal = confirmUsersOwn(recorded.extra, user.profileFolder, user.sid);
            if (refusal != ERROR_SUCCESS) return nullptr;
            if (recorded.kind == kinds::kFileBackup) return recordedItem(recorded, Store::User);
            return std::make_unique<UsersOwnItem>(recorded, user);
        case userrecord::Verdict::Refused:
            refusal = ERROR_ACCESS_DENIED;
            return nullptr;
    }
    return nullptr;
}

WorkItems recordedItems(const std::vector<ItemRecord>& records, Store store) {
    WorkItems items;
    for (const ItemRecord& recorded : records) {
        if (std::unique_ptr<WorkItem> item = recordedItem(recorded, store)) items.push_back(std::move(item));
    }
    return items;
}

std::vector<ItemRecord> leftForLater(const std::vector<ItemRecord>& records,
                                     const std::vector<UndoResult>& results) {
    bool anyFailed = false;
    for (const UndoResult& result : results)
        anyFailed = anyFailed || result.status == UndoResult::Status::Failed;
    std::vector<ItemRecord> left;
    for (std::size_t i = 0; anyFailed && i < records.size(); ++i) {
        const bool keptFolder =
            results[i].status == UndoResult::Status::Kept && records[i].kind == kinds::kFolder;
        if (results[i].status == UndoResult::Status::Failed || keptFolder) left.push_back(records[i]);
    }
    return left;
}

FailureLog rollBackPending(RecordStore& store, Store which) {
    FailureLog failures;
    const std::vector<ItemRecord> pending = store.read().pending;
    WorkItems items;
    if (which == Store::Machine) items = recordedItems(pending, which);
    const UserIdentity user = which == Store::User ? currentUserIdentity() : UserIdentity();
    for (std::size_t i = 0; which == Store::User && i < pending.size(); ++i) {
        unsigned long refusal = 0;
        if (std::unique_ptr<WorkItem> item = admittedUserItem(pending[i], user, refusal))
            items.push_back(std::move(item));
        else
            failures.push_back({Failure::Action::Refused, pending[i].path, refusal});
    }
    for (const UndoResult& result : undoInReverse(items)) {
        if (result.status == UndoResult::Status::Failed) failures.push_back(result.failure);
    }
    if (unsigned long error = store.discardRun())
        failures.push_back({Failure::Action::WriteKey, store.name(), error});
    return failures;
}

unsigned long commitPending(RecordStore& store, Store which, const RecordHeader& header) {
    const StoredRecord stored = store.read();
    unsigned long error = store.commit(header, mergeRun(stored.items, stored.pending), stored.pending);
    if (error != 0) return error;
    for (auto& item : recordedItems(stored.pending, which)) item->commit();
    return 0;
}
