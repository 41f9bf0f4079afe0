// One uninstallation; see UninstallRun.h.
#include "engine/UninstallRun.h"

#include <windows.h>

#include <algorithm>

#include "acad/AcadProcess.h"
#include "deploy/DataFolder.h"
#include "deploy/DeployRules.h"
#include "deploy/TargetFolderRules.h"
#include "engine/InstallationLock.h"
#include "engine/RemovalAfterExit.h"
#include "engine/RightsCheck.h"
#include "engine/UnrecordedInstallation.h"
#include "framework/Files.h"
#include "framework/LinkSafeFiles.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "journal/Journal.h"
#include "journal/LogTexts.h"
#include "users/ActiveSetup.h"
#include "users/EveryUser.h"
#include "users/RecordedItems.h"
#include "users/UserFiles.h"

namespace {

bool samePath(const std::string& one, const std::string& other) {
    return narrow::equalsIgnoreCase(one, other);
}

// Whether a folder the uninstallation removes files from is reached through no link at any level
// (a junction in the place of the plug-in's folder would have files of another folder deleted);
// link receives the level that is one. The folders are let go of again at once: the
// uninstallation deletes them.
bool reachedWithoutLink(const std::string& folder, std::string& link) {
    FolderChain chain;
    FileStep step = pinFolderChain(widenFromSystemCodePage(folder), chain);
    if (step.error != kLinkRefused) return true;
    narrowToSystemCodePage(step.subject, link);
    return false;
}

// Whether a path is, or lies in, one of the folders.
bool within(const std::string& path, const std::string& folder) {
    return samePath(path, folder) || (path.size() > folder.size() && path[folder.size()] == '\\' &&
                                      samePath(path.substr(0, folder.size()), folder));
}

class UninstallRun {
   public:
    UninstallRun(const UninstallRequest& request, EngineObserver& observer, SetupLog& log)
        : request_(request), observer_(observer), log_(log) {}

    UninstallOutcome go();

   private:
    bool refuse(Refusal::Reason reason, const std::string& subject = std::string(), unsigned long error = 0);
    bool rightsPresent(const AcadInstallations& installations);
    bool ownedByNewerPackage(const StoredRecord& record);
    bool findInstallation(const AcadInstallations& installations, StoredRecord& record,
                          UnrecordedInstallation& found);
    void undoUnrecorded(const UnrecordedInstallation& found);
    void removeUsersParts();
    void chooseLeftInPlace(const StoredRecord& record);
    std::vector<ItemRecord> undoMachineItems(const std::vector<ItemRecord>& records);
    void keepForUsersLeft(const StoredRecord& record, std::vector<ItemRecord>& remaining);
    void writeRecord(const StoredRecord& record, const std::vector<ItemRecord>& remaining);
    void purgeOwnFolder();
    void removeProgramAfterExit(const std::vector<std::string>& pluginFolders);

    const UninstallRequest& request_;
    EngineObserver& observer_;
    SetupLog& log_;
    UninstallOutcome outcome_;
    RecordStore machine_ = RecordStore::machine();
    std::string componentVersion_;
    std::vector<std::string> leftInPlace_;  // files that stay for now
    std::vector<std::string> foldersLeft_;  // folders they keep from going
    std::string program_;                   // this program, when it removes itself after the run
    std::string logonProgram_;              // the logon step, when it stays for users left
};

bool UninstallRun::refuse(Refusal::Reason reason, const std::string& subject, unsigned long error) {
    outcome_.result = UninstallOutcome::Result::Refused;
    outcome_.refusal = {reason, subject, error};
    log_.line(logtexts::refusalWords(outcome_.refusal), subject, error);
    observer_.refused(outcome_.refusal);
    return false;
}

// Before anything is changed: whether this process may write every product key and AutoCAD folder
// an installation may have written to, and the record.
bool UninstallRun::rightsPresent(const AcadInstallations& installations) {
    RightsNeeded needed;
    for (const AcadInstallation& installation : installations) {
        needed.keys.push_back(installation.productKey);
        needed.folders.push_back(installation.location);
    }
    needed.parents.push_back("SOFTWARE\\Torlen\\BatchPrint\\Installation");
    RightsGap gap = firstUnwritable(needed);
    return !gap || refuse(Refusal::Reason::RightsMissing, gap.subject, gap.error);
}

// A package's removal leaves alone an installation that another package owns now: the upgrade
// that replaced it runs this removal after it has installed (Windows Installer's
// RemoveExistingProducts after InstallFinalize).
bool UninstallRun::ownedByNewerPackage(const StoredRecord& record) {
    const std::string& code = request_.owner.packageCode;
    if (code.empty() || !record.exists || record.header.owner.empty() ||
        samePath(record.header.owner, code) || record.header.owner.front() != '{')
        return false;
    outcome_.result = UninstallOutcome::Result::LeftAlone;
    outcome_.refusal = {Refusal::Reason::OwnedByNewerPackage, record.header.owner, 0};
    log_.line(logtexts::refusalWords(outcome_.refusal),
              record.header.owner + " " + record.header.ownerVersion);
    return true;
}

void UninstallRun::removeUsersParts() {
    if (!request_.everyUser) {
        UserPartRemoval part = removeCurrentUsersPart(currentUserIdentity(), request_.purge, log_);
        outcome_.failures.insert(outcome_.failures.end(), part.failures.begin(), part.failures.end());
        return;
    }
    EveryUserRemoval users = removeEveryUsersPart(request_.purge, log_);
    componentVersion_ = users.componentVersion;
    outcome_.usersLeftForLogon = users.leftForLogon;
}

// What stays for now: the logon program while users wait for their next logon, and this program
// when it runs from the plug-in's folder (it cannot delete itself while it runs). Run from
// anywhere else (a share, a package's folder, where it was shipped) it is someone's copy of the
// installer and stays.
void UninstallRun::chooseLeftInPlace(const StoredRecord& record) {
    const std::string folder = record.exists ? record.header.targetFolder : std::string();
    const std::string logon = path::join(folder, kLogonProgramName);
    if (!folder.empty() && !outcome_.usersLeftForLogon.empty() && probePath(logon) == PathIsFile) {
        logonProgram_ = logon;
        leftInPlace_.push_back(logon);
    }
    const std::string self = moduleFilePath();
    const std::string selfFolder = path::folderOf(self, isSystemLeadByte);
    if (isPluginFolderPath(selfFolder, isSystemLeadByte) &&
        (folder.empty() || samePath(selfFolder, folder))) {
        program_ = self;
        leftInPlace_.push_back(self);
    }
}

// The machine's items, last first; gives those that could not be undone now (the record keeps them).
std::vector<ItemRecord> UninstallRun::undoMachineItems(const std::vector<ItemRecord>& records) {
    WorkItems items;
    std::vector<ItemRecord> acted;
    for (const ItemRecord& recorded : records) {
        const bool stays =
            std::any_of(leftInPlace_.begin(), leftInPlace_.end(),
                        [&](const std::string& left) { return samePath(left, recorded.path); });
        std::unique_ptr<WorkItem> item = stays ? nullptr : recordedItem(recorded, Store::Machine);
        if (!item) continue;
        items.push_back(std::move(item));
        acted.push_back(recorded);
    }
    std::vector<UndoResult> results = undoInReverse(items);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UndoResult& result = results[i];
        const std::string subject = items[i]->subject();
        if (result.status == UndoResult::Status::Undone) {
            log_.line(logtexts::kRemovedOrRestored, subject);
        } else if (result.status == UndoResult::Status::Kept) {
            if (result.failure.action == Failure::Action::KeepChanged) {
                outcome_.kept.push_back(result.failure.subject);
                log_.failure(result.failure);
            } else if (acted[i].kind == kinds::kFolder &&
                       std::any_of(leftInPlace_.begin(), leftInPlace_.end(),
                                   [&](const std::string& left) { return within(left, subject); })) {
                foldersLeft_.push_back(subject);
            }
        } else {
            outcome_.failures.push_back(result.failure);
            log_.failure(result.failure);
        }
    }
    return leftForLater(acted, results);
}

// The logon program stays for the users left, registered once more (a higher version: it runs for
// every user again) and recorded anew with the folders that hold it.
void UninstallRun::keepForUsersLeft(const StoredRecord& record, std::vector<ItemRecord>& remaining) {
    for (const ItemRecord& recorded : record.items) {
        if (recorded.kind == kinds::kFolder && within(logonProgram_, recorded.path))
            remaining.push_back(recorded);
    }
    remaining.push_back({kinds::kFile, logonProgram_, digestOf(logonProgram_).text, "", false, {}});
    writeRecord(record, remaining);
    Journal journal(&machine_, nullptr);
    for (auto& item : activeSetupForRemovalItems(record.header.targetFolder, componentVersion_)) {
        Failure failure = journal.apply(item);
        if (failure.failed()) {
            outcome_.failures.push_back(failure);
            log_.failure(failure);
        }
    }
    RecordHeader header = record.header;
    header.removal = true;
    if (unsigned long error = journal.commit(header, header))
        outcome_.failures.push_back({Failure::Action::WriteKey, machine_.name(), error});
    log_.line(logtexts::kLogonStepStays, logonProgram_);
}

void UninstallRun::writeRecord(const StoredRecord& record, const std::vector<ItemRecord>& remaining) {
    if (!record.exists && remaining.empty()) return;
    unsigned long error = remaining.empty() ? machine_.erase() : machine_.commit(record.header, remaining);
    if (error) outcome_.failures.push_back({Failure::Action::WriteKey, machine_.name(), error});
}

// This account's own settings file, whatever it holds, and its folder when nothing else is in it
// (--purge), for an installation whose users' part kept no record. Only inside the account's
// profile, as a user's own files are taken away (its APPDATA is the account's to set).
void UninstallRun::purgeOwnFolder() {
    const std::string appData = userAppDataFolder();
    if (appData.empty()) return;
    const UserIdentity account = currentUserIdentity();
    for (const ItemRecord& own :
         {ItemRecord{kinds::kFile, userSettingsPath(appData, kSettingsFileName), "", "", false, {}},
          ItemRecord{kinds::kFolder, userSettingsFolder(appData), "", "", false, {}}}) {
        if (probePath(own.path) == PathMissing) continue;
        if (UsersOwnItem(own, account).undo().status == UndoResult::Status::Undone)
            log_.line(logtexts::kRemovedOrRestored, own.path);
    }
}

void UninstallRun::removeProgramAfterExit(const std::vector<std::string>& pluginFolders) {
    const std::string folder = path::folderOf(program_, isSystemLeadByte);
    const bool inPluginFolder =
        std::any_of(pluginFolders.begin(), pluginFolders.end(),
                    [&](const std::string& pluginFolder) { return samePath(pluginFolder, folder); });
    // After failures the record stays for the next uninstallation, and the program with it.
    if (program_.empty() || !inPluginFolder || !outcome_.failures.empty()) return;
    RemovalAfterExitItem removal(program_, foldersLeft_);
    removal.commit();
    if (unsigned long error = removal.error()) {
        outcome_.failures.push_back({Failure::Action::Remove, program_, error});
        log_.failure(outcome_.failures.back());
        return;
    }
    log_.line(logtexts::kRemovedAfterExit, program_);
}

// What the uninstallation acts on: the installation's record, or what an installation without
// one left. False (refused) when a folder it would remove files from is reached through a link.
bool UninstallRun::findInstallation(const AcadInstallations& installations, StoredRecord& record,
                                    UnrecordedInstallation& found) {
    record = machine_.read();
    if (!record.exists) found = findUnrecordedInstallation(installations);
    std::vector<std::string> folders =
        record.exists ? std::vector<std::string>{record.header.targetFolder} : found.pluginFolders;
    std::string link;
    for (const std::string& folder : folders) {
        if (!reachedWithoutLink(folder, link))
            return refuse(Refusal::Reason::ReparsePoint, link, kLinkRefused);
    }
    return true;
}

// The machine's part of an installation without a record, found by what it left; nothing of it
// is recorded afterwards: the next run finds what is left.
void UninstallRun::undoUnrecorded(const UnrecordedInstallation& found) {
    if (found.pluginFolders.empty()) log_.line(logtexts::kNoRegistrationFound);
    for (const std::string& folder : found.pluginFolders) log_.line(logtexts::kPluginFolder, folder);
    for (const std::string& key : found.othersKeys) log_.line(logtexts::kOthersKeyLeft, key);
    WorkItems trusted = recordedItems(found.user, Store::User);
    for (const UndoResult& result : undoInReverse(trusted))
        if (result.status == UndoResult::Status::Failed) outcome_.failures.push_back(result.failure);
    undoMachineItems(found.machine);
    if (request_.purge) purgeOwnFolder();
}

UninstallOutcome UninstallRun::go() {
    if (isAcadRunning() && !observer_.goOnWhileAcadRuns()) {
        refuse(Refusal::Reason::AcadRunning);
        return outcome_;
    }
    InstallationLock lock;
    if (lock.heldElsewhere()) {
        refuse(Refusal::Reason::AnotherInstaller);
        return outcome_;
    }
    const AcadInstallations installations = findAcadReleases();
    StoredRecord record;
    UnrecordedInstallation found;
    if (!rightsPresent(installations) || !findInstallation(installations, record, found) ||
        ownedByNewerPackage(record))
        return outcome_;
    if (!record.pending.empty()) {
        log_.line(logtexts::kUndoingRunCutOff, machine_.name());
        log_.failures(rollBackPending(machine_, Store::Machine));
        record = machine_.read();
    }
    removeUsersParts();
    chooseLeftInPlace(record);
    if (record.exists) {
        log_.line(logtexts::kPluginFolder, record.header.targetFolder);
        std::vector<ItemRecord> remaining = undoMachineItems(record.items);
        if (!logonProgram_.empty())
            keepForUsersLeft(record, remaining);
        else
            writeRecord(record, remaining);
    } else {
        undoUnrecorded(found);
    }
    removeProgramAfterExit(record.exists ? std::vector<std::string>{record.header.targetFolder}
                                         : found.pluginFolders);
    outcome_.result =
        outcome_.failures.empty() ? UninstallOutcome::Result::Uninstalled : UninstallOutcome::Result::Partly;
    return outcome_;
}

}  // namespace

UninstallOutcome runUninstallation(const UninstallRequest& request, EngineObserver& observer, SetupLog& log) {
    return UninstallRun(request, observer, log).go();
}
