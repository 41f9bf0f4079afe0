// One installation; see InstallRun.h.
#include "engine/InstallRun.h"

#include <windows.h>

#include <algorithm>

#include "acad/AcadFolderCopies.h"
#include "acad/AcadProcess.h"
#include "acad/DemandLoad.h"
#include "deploy/DataFolder.h"
#include "deploy/InstallFolders.h"
#include "deploy/TargetFolderCopies.h"
#include "deploy/TargetFolderRules.h"
#include "engine/InstallationLock.h"
#include "engine/ProgramsEntry.h"
#include "engine/RightsCheck.h"
#include "engine/RunSteps.h"
#include "framework/BuildConstants.h"
#include "framework/Files.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "framework/Token.h"
#include "journal/Journal.h"
#include "journal/LogTexts.h"
#include "users/ActiveSetup.h"
#include "users/LogonStep.h"
#include "users/RecordedItems.h"
#include "users/UserPart.h"

namespace {

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class InstallRun {
   public:
    InstallRun(const InstallRequest& request, EngineObserver& observer, SetupLog& log)
        : request_(request), observer_(observer), log_(log) {}

    InstallOutcome go();

   private:
    bool refuse(Refusal::Reason reason, const std::string& subject = std::string(), unsigned long error = 0);
    bool takeChosenFolder();
    bool detect();
    void undoRunsCutOff();
    bool readDataFolder();
    bool pathsFit();
    bool rightsPresent();
    bool chosenFolderSafe();
    bool heldFilesAnswered();
    bool planUsersPart(Steps& steps);
    bool plan(Steps& steps);
    void commit(Journal& journal);
    void setUpInstallingAccount();
    RecordHeader header() const;
    unsigned long plannedKilobytes() const;

    const InstallRequest& request_;
    EngineObserver& observer_;
    SetupLog& log_;
    InstallOutcome outcome_;
    std::string chosen_;
    std::string target_;
    AcadInstallations selected_;
    DataFolderContents data_;
    std::vector<std::string> leftOut_;  // held files the answer was to go on without
    bool protectChosen_ = false;
    WayToPluginFolder way_;
    RecordStore machine_ = RecordStore::machine();
    RecordStore user_ = RecordStore::currentUser();
};

bool InstallRun::refuse(Refusal::Reason reason, const std::string& subject, unsigned long error) {
    outcome_.result = InstallOutcome::Result::Refused;
    outcome_.refusal = {reason, subject, error};
    log_.line(logtexts::refusalWords(outcome_.refusal), subject, error);
    observer_.refused(outcome_.refusal);
    return false;
}

// The folder the user chose, by the rules the dialog's path field follows.
bool InstallRun::takeChosenFolder() {
    switch (checkPathField(request_.chosenFolder, chosen_, isSystemLeadByte)) {
        case PathFieldVerdict::Usable:
            break;
        case PathFieldVerdict::Empty:
            return refuse(Refusal::Reason::FolderEmpty, request_.chosenFolder);
        case PathFieldVerdict::ListSeparator:
            return refuse(Refusal::Reason::FolderListSeparator, request_.chosenFolder);
        case PathFieldVerdict::Invalid:
            return refuse(Refusal::Reason::FolderInvalid, request_.chosenFolder);
    }
    target_ = targetFolderIn(chosen_);
    outcome_.targetFolder = target_;
    // A package takes over an earlier installation (one owner, one entry) only where it is: moving
    // it would leave the earlier folder behind, with what AutoCAD was given to load from it.
    const StoredRecord earlier = machine_.read();
    if (!request_.owner.packageCode.empty() && earlier.exists && !earlier.header.targetFolder.empty() &&
        !narrow::equalsIgnoreCase(earlier.header.targetFolder, target_))
        return refuse(Refusal::Reason::InstalledElsewhere, earlier.header.targetFolder);
    // The two editions cannot share a plug-in's folder: uninstalling one would take the other's away.
    const std::string others = RecordStore::otherEditionsTargetFolder();
    if (!others.empty() && narrow::equalsIgnoreCase(others, target_))
        return refuse(Refusal::Reason::OtherEditionsFolder, target_);
    // A drive root is kept in its root form (D:\) for every file system call: "D:" alone names the
    // current folder of drive D.
    if (chosen_.size() == 2 && chosen_[1] == ':') chosen_ += '\\';
    return true;
}

bool InstallRun::detect() {
    const AcadInstallations found = findAcadReleases();
    for (const AcadInstallation& installation : selectedInstallations(found, request_.releases))
        if (acad::editionServes(installation.year, platformBits)) selected_.push_back(installation);
    for (int year = kFirstReleaseYear; request_.releasesNamed && year <= kLastReleaseYear; ++year) {
        if (isSelected(request_.releases, year) && !wasFound(found, year))
            log_.line(logtexts::releaseSkipped(year));
    }
    return !selected_.empty() || refuse(Refusal::Reason::NothingToInstall);
}

// A run of an earlier process that was cut off (the power failed, the process was ended), or that
// still waits for a commit its package never gave, is undone before anything else: the machine is
// then as that run found it.
void InstallRun::undoRunsCutOff() {
    for (auto store : {std::make_pair(&machine_, Store::Machine), std::make_pair(&user_, Store::User)}) {
        StoredRecord stored = store.first->read();
        if (stored.pending.empty()) continue;
        log_.line(logtexts::kUndoingRunCutOff, store.first->name());
        log_.failures(rollBackPending(*store.first, store.second));
    }
}

bool InstallRun::readDataFolder() {
    std::string folder;
    if (!locateSetupDataFolder(request_.dataFolder, folder))
        return refuse(Refusal::Reason::DataFolderMissing, request_.dataFolder, ERROR_PATH_NOT_FOUND);
    std::vector<DataEntry> entries;
    if (unsigned long error = listDataFolder(folder, entries))
        return refuse(Refusal::Reason::DataFolderUnreadable, folder, error);
    data_ = sortDataFolder(folder, entries);
    return true;
}

// The narrow file functions fail on longer paths, half-way and with a message that blames
// AutoCAD or the user's rights: every path is measured first.
bool InstallRun::pathsFit() {
    std::vector<PlannedPath> paths = targetFolderPaths(data_, target_);
    for (const AcadInstallation& installation : selected_) {
        for (const PlannedPath& planned :
             acadFolderPaths(data_.folder, installation.location, installation.year == kPlotDriverYear))
            paths.push_back(planned);
    }
    const std::string appData =
        request_.scope == InstallRequest::Scope::ThisAccount ? userAppDataFolder() : "";
    if (!appData.empty() && !data_.settingsFile.empty()) {
        paths.push_back({userSettingsFolder(appData), true});
        paths.push_back({userSettingsPath(appData, data_.settingsFile), false});
    }
    std::string longest = longestOverlongPath(paths, isSystemLeadByte);
    return longest.empty() || refuse(Refusal::Reason::PathTooLong, longest, ERROR_FILENAME_EXCED_RANGE);
}

// Before anything is changed: whether this process may write every product key and AutoCAD
// folder of the selected installations, the installation's record and the keys it makes.
bool InstallRun::rightsPresent() {
    RightsNeeded needed;
    for (const AcadInstallation& installation : selected_) {
        needed.keys.push_back(installation.productKey);
        needed.folders.push_back(installation.location);
    }
    needed.parents.push_back("SOFTWARE\\Torlen\\BatchPrint\\Installation");
    if (request_.programsEntry)
        needed.parents.push_back("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TorlenBatchPrint");
    if (request_.scope == InstallRequest::Scope::EveryUser)
        needed.parents.push_back(std::string(kInstalledComponents) + "\\" + kComponentName);
    RightsGap gap = firstUnwritable(needed);
    return !gap || refuse(Refusal::Reason::RightsMissing, gap.subject, gap.error);
}

// Every user's AutoCAD loads the plug-in from below the chosen folder: no folder on the way may be
// a link or changeable by others than the administrators; a chosen folder that others may change is
// not used silently, and is given the plug-in folder's protection only where that takes nobody's
// rights to their own things away (never a drive root, a system folder or a profile, only an empty
// folder or one holding nothing but the plug-in's). The way stays pinned for the run.
bool InstallRun::chosenFolderSafe() {
    checkWayToPluginFolder(chosen_, target_, way_);
    if (way_.refused) return refuse(way_.refusal.reason, way_.refusal.subject, way_.refusal.error);
    if (!way_.chosenOthersMayChange) return true;
    const foldersafety::ProtectVerdict protectable = protectableChosenFolder(chosen_);
    if (protectable != foldersafety::ProtectVerdict::Allowed) {
        refuse(Refusal::Reason::ChosenFolderNotProtectable, chosen_);
        outcome_.refusal.detail = static_cast<int>(protectable);
        return false;
    }
    switch (request_.unsafeChosenFolder) {
        case InstallRequest::UnsafeChosenFolder::Protect:
            protectChosen_ = true;
            break;
        case InstallRequest::UnsafeChosenFolder::Ask:
            protectChosen_ = observer_.protectChosenFolder(chosen_);
            break;
        case InstallRequest::UnsafeChosenFolder::Refuse:
            break;
    }
    return protectChosen_ || refuse(Refusal::Reason::ChosenFolderUnsafe, chosen_);
}

// A file already in the plug-in's folder that another program holds open (AutoCAD loads the
// plug-in's modules from there) would stop the copies half-way: each is asked about before
// anything is changed. A held file the answer is to go on without is left as it is.
bool InstallRun::heldFilesAnswered() {
    for (const std::string& name : data_.pluginFiles) {
        const std::string destination = path::join(target_, name);
        for (unsigned long error = openForCopyError(destination); error != ERROR_SUCCESS;
             error = openForCopyError(destination)) {
            const Failure failure{Failure::Action::Copy, destination, error};
            FailureAnswer answer = observer_.failed(failure, recommendedAnswer(failure));
            log_.line(logtexts::answeredWords(failure, answer), destination, error);
            if (answer == FailureAnswer::Retry) continue;
            if (answer == FailureAnswer::Abort) return refuse(Refusal::Reason::Aborted, destination, error);
            leftOut_.push_back(name);
            outcome_.failures.push_back(failure);
            break;
        }
    }
    return true;
}

// This account's part: the settings file in its folder and the trusted folder in its profiles.
bool InstallRun::planUsersPart(Steps& steps) {
    const std::string settings =
        data_.settingsFile.empty() ? "" : path::join(data_.folder, data_.settingsFile);
    for (;;) {
        UserPartPlan part = planUserPart(target_, {settings, true});
        if (part.userFolderUnknown) {
            const Failure failure{Failure::Action::FindUserFolder, part.settingsName, ERROR_PATH_NOT_FOUND};
            FailureAnswer answer = observer_.failed(failure, FailureAnswer::Abort);
            log_.line(logtexts::answeredWords(failure, answer), part.settingsName, ERROR_PATH_NOT_FOUND);
            if (answer == FailureAnswer::Retry) continue;
            if (answer == FailureAnswer::Abort) return refuse(Refusal::Reason::Aborted, part.settingsName);
            outcome_.failures.push_back(failure);
        }
        appendSteps(steps, std::move(part.items));
        return true;
    }
}

bool InstallRun::plan(Steps& steps) {
    WorkItems folders;
    if (!isFolder(chosen_))
        folders.push_back(std::make_unique<ProtectedFolderItem>(chosen_));
    else if (protectChosen_)
        folders.push_back(std::make_unique<FolderSecurityItem>(chosen_, false));
    if (!isFolder(target_))
        folders.push_back(std::make_unique<ProtectedFolderItem>(target_));
    else
        folders.push_back(std::make_unique<FolderSecurityItem>(target_, true));
    appendSteps(steps, std::move(folders));
    for (const std::string& name : data_.pluginFiles) {
        if (std::find(leftOut_.begin(), leftOut_.end(), name) != leftOut_.end()) continue;
        appendSteps(steps, replaceFile(path::join(data_.folder, name), path::join(target_, name),
                                       Failure::Action::Copy));
    }
    if (request_.scope == InstallRequest::Scope::ThisAccount && !planUsersPart(steps)) return false;
    for (const AcadInstallation& installation : selected_)
        appendSteps(steps, demandLoadItems(installation, platformBits, target_));
    RecordedFiles recorded;
    for (const ItemRecord& item : machine_.read().items)
        if (item.kind == kinds::kFile) recorded.push_back(item.path);
    for (const AcadInstallation& installation : selected_)
        appendSteps(steps, acadFolderCopies(data_.folder, installation.location,
                                            installation.year == kPlotDriverYear, recorded));
    const bool everyUser = request_.scope == InstallRequest::Scope::EveryUser;
    appendSteps(steps, installerCopies(target_, request_.programsEntry, request_.programsEntry || everyUser));
    if (request_.programsEntry) {
        EntryCommands commands = entryCommands(target_, true, true);
        commands.packageCode = request_.owner.packageCode;
        appendSteps(steps, programsEntryItems(target_, commands, plannedKilobytes()));
    }
    if (everyUser) {
        const std::string settings =
            data_.settingsFile.empty() ? "" : path::join(data_.folder, data_.settingsFile);
        appendSteps(steps, activeSetupItems(target_, settings));
    }
    return true;
}

// What the plug-in's folder will hold, in KB, as Programs and Features shows the size: the
// plug-in's files and the installers copied beside them.
unsigned long InstallRun::plannedKilobytes() const {
    unsigned long long bytes = 0;
    auto add = [&](const std::string& file) {
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &attributes))
            bytes +=
                (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    };
    for (const std::string& name : data_.pluginFiles) add(path::join(data_.folder, name));
    add(moduleFilePath());
    return static_cast<unsigned long>((bytes + 1023) / 1024);
}

RecordHeader InstallRun::header() const {
    RecordHeader header;
    header.buildVersion = buildVersion;
    header.edition = platformBits;
    header.targetFolder = target_;
    header.owner = request_.owner.packageCode.empty() ? request_.owner.program : request_.owner.packageCode;
    header.ownerVersion = request_.owner.packageVersion;
    return header;  // a new installation ends what an uninstallation left waiting (removal)
}

void InstallRun::commit(Journal& journal) {
    unsigned long error =
        request_.holdForCommit ? journal.holdForCommit(header()) : journal.commit(header(), header());
    if (error) outcome_.failures.push_back({Failure::Action::WriteKey, machine_.name(), error});
    if (request_.holdForCommit) log_.line(logtexts::kHeldForPackage, target_);
}

// After an installation for every user, the part of the account that installed, at once: what
// fails is logged and left to the account's next logon; it never fails the installation. Skipped
// for SYSTEM (the account deployment tools run as), which runs no AutoCAD, and whose per-user
// folder a 32-bit program sees redirected and may find missing.
void InstallRun::setUpInstallingAccount() {
    if (token::isLocalSystem()) return log_.line(logtexts::kSystemAccountSkipped);
    setUpForUser(target_, log_);
}

InstallOutcome InstallRun::go() {
    if (isAcadRunning() && !observer_.goOnWhileAcadRuns()) {
        refuse(Refusal::Reason::AcadRunning);
        return outcome_;
    }
    InstallationLock lock;
    if (lock.heldElsewhere()) {
        refuse(Refusal::Reason::AnotherInstaller);
        return outcome_;
    }
    if (!takeChosenFolder() || !detect()) return outcome_;
    undoRunsCutOff();
    Steps steps;
    if (!readDataFolder() || !pathsFit() || !rightsPresent() || !chosenFolderSafe() || !heldFilesAnswered() ||
        !plan(steps))
        return outcome_;
    log_.line(logtexts::kCopyingFiles, target_);
    Journal journal(&machine_, &user_);
    StepsOutcome applied = applySteps(journal, steps, observer_, log_);
    outcome_.failures.insert(outcome_.failures.end(), applied.goneOnWithout.begin(),
                             applied.goneOnWithout.end());
    if (applied.stopped) {
        outcome_.result = InstallOutcome::Result::Stopped;
        outcome_.refusal = applied.why;
        outcome_.notPutBack = applied.notPutBack;
        log_.line(logtexts::kStoppedAndUndone, target_);
        log_.failures(outcome_.notPutBack);
        if (applied.why.reason == Refusal::Reason::FolderUnprotected) observer_.refused(applied.why);
        return outcome_;
    }
    commit(journal);
    outcome_.result = InstallOutcome::Result::Installed;
    if (request_.scope == InstallRequest::Scope::EveryUser) setUpInstallingAccount();
    for (const AcadInstallation& installation : selected_)
        log_.line(logtexts::installedFor(installation.year), installation.location);
    log_.line(logtexts::runEnded(outcome_.failures.size()), target_);
    return outcome_;
}

}  // namespace

InstallOutcome runInstallation(const InstallRequest& request, EngineObserver& observer, SetupLog& log) {
    return InstallRun(request, observer, log).go();
}
