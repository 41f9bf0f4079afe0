// Taking every user's part away; see EveryUser.h.
#include "users/EveryUser.h"

#include <windows.h>

#include "acad/TrustedEntryItem.h"
#include "framework/SystemCodePage.h"
#include "framework/Token.h"
#include "journal/FileItems.h"
#include "journal/Journal.h"
#include "journal/LogTexts.h"
#include "journal/RecordStore.h"
#include "journal/RegistryItems.h"
#include "users/ActiveSetup.h"
#include "users/RecordedItems.h"
#include "users/UserFiles.h"
#include "users/UserHives.h"
#include "users/UserPart.h"
#include "users/UserRecordRules.h"

namespace {

// A key below HKEY_CURRENT_USER as the registry it stands for is named.
std::string named(const std::string& where, const std::string& registryName) {
    const std::string current = "HKEY_CURRENT_USER";
    return where.compare(0, current.size(), current) == 0 ? registryName + where.substr(current.size())
                                                          : where;
}

// With purge the settings file goes however the user changed it: recorded without its digest.
ItemRecord purged(ItemRecord recorded) {
    if (recorded.kind == kinds::kFile) recorded.detail.clear();
    return recorded;
}

void logUndone(const WorkItem& item, const UndoResult& result, const UserIdentity& user, SetupLog& log) {
    const Failure& why = result.failure;
    switch (result.status) {
        case UndoResult::Status::Undone:
            log.line(logtexts::kRemovedOrRestored, named(item.subject(), user.registryName));
            break;
        case UndoResult::Status::Kept:
            if (why.action == Failure::Action::KeepChanged)
                log.line(logtexts::kUserSettingsKept, why.subject);
            break;
        case UndoResult::Status::Failed:
            log.line(logtexts::failureWords(why), named(why.subject, user.registryName), why.error);
            break;
    }
}

}  // namespace

UserPartRemoval removeCurrentUsersPart(const UserIdentity& user, bool purge, SetupLog& log) {
    UserPartRemoval removal;
    RecordStore store = RecordStore::currentUser();
    StoredRecord stored = store.read();
    removal.hadPart = stored.exists;
    WorkItems items;
    std::vector<ItemRecord> admittedRecords;
    for (const ItemRecord& recorded : stored.items) {
        unsigned long refusal = 0;
        std::unique_ptr<WorkItem> item = admittedUserItem(purge ? purged(recorded) : recorded, user, refusal);
        if (!item) {
            log.line(logtexts::kUserItemRefused, named(recorded.path, user.registryName), refusal);
            continue;
        }
        items.push_back(std::move(item));
        admittedRecords.push_back(recorded);
    }
    std::vector<UndoResult> results = undoInReverse(items);
    for (std::size_t i = 0; i < items.size(); ++i) {
        logUndone(*items[i], results[i], user, log);
        if (results[i].status == UndoResult::Status::Failed) removal.failures.push_back(results[i].failure);
    }
    std::vector<ItemRecord> remaining = leftForLater(admittedRecords, results);
    if (stored.exists) {
        unsigned long error = remaining.empty() ? store.erase() : store.commit(stored.header, remaining);
        if (error)
            removal.failures.push_back(
                {Failure::Action::WriteKey, named(store.name(), user.registryName), error});
    }
    if (unsigned long error = stopLogonRuns())
        removal.failures.push_back(
            {Failure::Action::WriteKey, named(logonRunValuePath(), user.registryName), error});
    return removal;
}

namespace {

// Takes each user's part away, and keeps who must wait for their next logon.
class PartRemoval : public UserVisitor {
   public:
    PartRemoval(bool purge, SetupLog& log, EveryUserRemoval& removal)
        : purge_(purge), log_(log), removal_(removal) {}

    void visit(const UserRegistry& user) override {
        log_.line(logtexts::kUsersRegistry, user.file.empty() ? user.name : user.name + "  " + user.file);
        UserPartRemoval part =
            removeCurrentUsersPart({user.sid, user.profileFolder, user.name}, purge_, log_);
        if (!part.failures.empty() || (user.roaming && part.hadPart)) {
            log_.line(logtexts::kUserLeftForLogon, user.sid);
            removal_.leftForLogon.push_back(user.sid);
        }
    }

   private:
    bool purge_;
    SetupLog& log_;
    EveryUserRemoval& removal_;
};

}  // namespace

EveryUserRemoval removeEveryUsersPart(bool purge, SetupLog& log) {
    EveryUserRemoval removal;
    removal.componentVersion = activeSetupVersion();
    PartRemoval visitor(purge, log, removal);
    for (const UserRegistry& user : visitEveryUser(visitor)) {
        if (user.error == 0) continue;
        const std::string which = user.file.empty() ? user.name : user.file;
        if (!user.visited && user.error == ERROR_FILE_NOT_FOUND) {
            // Never logged on (or the folder is gone): no registry, nothing of theirs to take away.
            log.line(logtexts::kUserWithoutRegistry, user.sid + "  " + user.profileFolder);
            continue;
        }
        log.line(user.visited ? logtexts::kUserRegistryNotUnloaded : logtexts::kUserNotReached, which,
                 user.error);
        if (!user.visited) removal.leftForLogon.push_back(user.sid);
    }
    return removal;
}
