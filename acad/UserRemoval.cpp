// Taking every user's part away, and the uninstallation for every user; see UserRemoval.h.
#include "acad/UserRemoval.h"

#include <windows.h>

#include "acad/LogonStep.h"
#include "acad/SelfRemoval.h"
#include "acad/TargetFolderRules.h"
#include "acad/UserHives.h"
#include "acad/UserSetup.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "deploy/LogTexts.h"
#include "deploy/ProductNames.h"
#include "framework/NarrowString.h"
#include "framework/Paths.h"
#include "framework/SystemCodePage.h"

namespace {

// With purge, the settings file goes however the user changed it: taken away before the
// record is undone, which then takes its folder when empty.
void purgeRecordedFiles(const InstallationRecord& record, UninstallOutcome& outcome) {
    for (const RecordedItem& item : record.items) {
        if (item.kind != RecordedItem::Kind::File || probePath(item.path) != PathIsFile) continue;
        SetFileAttributesA(item.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileA(item.path.c_str()))
            outcome.removed.push_back(item.path);
        else
            outcome.failures.push_back({Failure::Action::Remove, item.path, GetLastError()});
    }
}

// A key below HKEY_CURRENT_USER as the registry it stands for is named.
std::string named(const std::string& where, const std::string& registryName) {
    const std::string current = "HKEY_CURRENT_USER";
    return where.compare(0, current.size(), current) == 0 ? registryName + where.substr(current.size())
                                                          : where;
}

// A settings file the user has changed since is the user's now: it stays, and that is no failure
// of the uninstallation. Gives the files kept.
std::vector<std::string> keepUsersOwnFiles(FailureLog& failures) {
    std::vector<std::string> kept;
    FailureLog others;
    for (const Failure& failure : failures) {
        if (failure.action == Failure::Action::KeepChanged)
            kept.push_back(failure.subject);
        else
            others.push_back(failure);
    }
    failures = others;
    return kept;
}

void logUsersPart(const UninstallOutcome& outcome, const std::vector<std::string>& kept,
                  const std::string& registryName, SetupLog& log) {
    for (const std::string& removed : outcome.removed)
        log.line(logtexts::kRemovedOrRestored, named(removed, registryName));
    for (const std::string& path : kept) log.line(logtexts::kUserSettingsKept, path);
    for (const Failure& failure : outcome.failures)
        log.line(logtexts::failureWords(failure), named(failure.subject, registryName), failure.error);
}

// Takes each user's part away, and keeps who must wait for their next logon.
class PartRemoval : public UserVisitor {
   public:
    PartRemoval(bool purge, SetupLog& log, EveryUserRemoval& removal)
        : purge_(purge), log_(log), removal_(removal) {}

    void visit(const UserRegistry& user) override {
        log_.line(logtexts::kUsersRegistry, user.file.empty() ? user.name : user.name + "  " + user.file);
        InstallationRecord record;
        const bool hadPart = readInstallRecord(record, RecordScope::User);
        const bool failed = !removeCurrentUsersPart(purge_, log_, user.name).failures.empty();
        if (failed || (user.roaming && hadPart)) {
            log_.line(logtexts::kUserLeftForLogon, user.sid);
            removal_.leftForLogon.push_back(user.sid);
        }
    }

   private:
    bool purge_;
    SetupLog& log_;
    EveryUserRemoval& removal_;
};

// Whether the logon program of the recorded installation stays for users left for their next
// logon.
bool keepsLogonStep(const InstallationRecord& record, const EveryUserRemoval& users, std::string& program) {
    program = path::join(record.targetFolder, kLogonProgramName);
    return !users.leftForLogon.empty() && probePath(program) == PathIsFile;
}

// What stays, registered and recorded anew (see uninstallForEveryUser). Failures go into the
// outcome.
void registerLogonStepForRemoval(const InstallationRecord& earlier, const EveryUserRemoval& users,
                                 UninstallOutcome& outcome) {
    InstallRecorder recorder;
    recorder.begin(earlier.targetFolder);
    for (const RecordedItem& item : earlier.items) {
        if (item.kind == RecordedItem::Kind::Folder && probePath(item.path) == PathIsFolder)
            recorder.folder(item.path);
    }
    recorder.file(path::join(earlier.targetFolder, kLogonProgramName));
    if (unsigned long error =
            registerActiveSetupForRemoval(earlier.targetFolder, users.componentVersion, &recorder))
        outcome.failures.push_back({Failure::Action::WriteKey, activeSetupKeyName(), error});
    if (recorder.error() != 0) {
        outcome.failures.push_back({Failure::Action::WriteKey, installRecordKeyName(), recorder.error()});
        return;
    }
    recorder.finish();
    recorder.markRemoval();
}

}  // namespace

UninstallOutcome removeCurrentUsersPart(bool purge, SetupLog& log, const std::string& registryName) {
    UninstallOutcome outcome;
    InstallationRecord record;
    const bool recorded = readInstallRecord(record, RecordScope::User);
    if (recorded) {
        if (purge) purgeRecordedFiles(record, outcome);
        undoRecord(record, outcome);
    }
    const std::vector<std::string> kept = keepUsersOwnFiles(outcome.failures);
    if (recorded && outcome.failures.empty()) {
        if (unsigned long error = eraseInstallRecord(RecordScope::User))
            outcome.failures.push_back(
                {Failure::Action::WriteKey, installRecordKeyName(RecordScope::User), error});
    }
    if (unsigned long error = stopLogonRuns())
        outcome.failures.push_back({Failure::Action::WriteKey, logonRunValuePath(), error});
    logUsersPart(outcome, kept, registryName, log);
    return outcome;
}

EveryUserRemoval removeEveryUsersPart(bool purge, SetupLog& log) {
    EveryUserRemoval removal;
    removal.componentVersion = activeSetupVersion();
    PartRemoval visitor(purge, log, removal);
    for (const UserRegistry& user : visitEveryUser(visitor)) {
        if (user.error == 0) continue;
        log.line(logtexts::kUserNotReached, user.file.empty() ? user.name : user.file, user.error);
        removal.leftForLogon.push_back(user.sid);
    }
    return removal;
}

// The program removes itself only where the uninstallation removes the folder it runs from: the
// copy kept in the plug-in's folder. Run from anywhere else (a share, a package's folder, the
// folder it was shipped in) it is someone's copy of the installer and stays.
namespace {
std::string programInPluginFolder(const InstallationRecord* record) {
    const std::string self = programRemovedAfterExit();
    const std::string folder = path::folderOf(self, isSystemLeadByte);
    if (self.empty() || !isPluginFolderPath(folder, isSystemLeadByte)) return std::string();
    return !record || narrow::equalsIgnoreCase(folder, record->targetFolder) ? self : std::string();
}
}  // namespace

UninstallOutcome uninstallForEveryUser(const AcadInstallations& installations, bool purge, SetupLog& log) {
    InstallationRecord record;
    const bool recorded = readInstallRecord(record);
    const EveryUserRemoval users = removeEveryUsersPart(purge, log);
    std::vector<std::string> leftInPlace;
    std::string program;
    const bool logonStepStays = recorded && keepsLogonStep(record, users, program);
    if (logonStepStays) leftInPlace.push_back(program);
    const std::string self = programInPluginFolder(recorded ? &record : nullptr);
    if (!self.empty()) leftInPlace.push_back(self);
    UninstallOutcome outcome = uninstallPlugin(installations, purge, log, leftInPlace);
    if (logonStepStays) {
        const std::size_t logged = outcome.failures.size();
        registerLogonStepForRemoval(record, users, outcome);
        log.failures(outcome.failures, logged);
        log.line(logtexts::kLogonStepStays, program);
    }
    if (!self.empty()) removeProgramAfterExit(self, outcome, log);
    return outcome;
}
