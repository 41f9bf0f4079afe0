// The per-user part at logon; see LogonStep.h.
#include "users/LogonStep.h"

#include "deploy/DataFolder.h"
#include "deploy/DeployRules.h"
#include "framework/Files.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/SystemCodePage.h"
#include "journal/Journal.h"
#include "journal/LogTexts.h"
#include "users/EveryUser.h"
#include "users/RecordedItems.h"
#include "users/UserPart.h"

namespace {

// Whether the machine's record says the plug-in is installed in this folder; when it says
// nothing of it (uninstalled, or only what waits for users not reached is left), the user's part
// goes. An installation in another folder is in charge of itself: nothing is done.
enum class MachineState { InstalledHere, InstalledElsewhere, Removed };
MachineState machineState(const std::string& folder) {
    StoredRecord record = RecordStore::machine().read();
    if (!record.exists || record.header.removal) return MachineState::Removed;
    return narrow::equalsIgnoreCase(record.header.targetFolder, folder) ? MachineState::InstalledHere
                                                                        : MachineState::InstalledElsewhere;
}

// Every item the run can make; the step asks no one, and what fails waits for the next logon.
void applyAll(Journal& journal, WorkItems items, FailureLog& failures) {
    for (auto& item : items) {
        Failure failure = journal.apply(item);
        if (failure.failed()) failures.push_back(failure);
    }
}

RecordHeader userHeader(const std::string& targetFolder) {
    RecordHeader header;
    header.targetFolder = targetFolder;
    header.owner = kLogonProgramName;
    return header;
}

}  // namespace

UserStepOutcome setUpForUser(const std::string& targetFolder, SetupLog& log) {
    UserStepOutcome outcome;
    RecordStore store = RecordStore::currentUser();
    // A run of the user's that was cut off is undone first.
    if (!store.read().pending.empty()) log.failures(rollBackPending(store, Store::User));
    Journal journal(nullptr, &store);
    const std::string kept = keptSettingsPath(targetFolder);
    UserPartPlan plan =
        planUserPart(targetFolder, {probePath(kept) == PathIsFile ? kept : std::string(), false});
    if (plan.userFolderUnknown)
        outcome.failures.push_back(
            {Failure::Action::FindUserFolder, plan.settingsName, ERROR_PATH_NOT_FOUND});
    applyAll(journal, std::move(plan.items), outcome.failures);
    outcome.done = outcome.failures.empty() && everyProfileTrusts(targetFolder);
    // Only an installation for every user leaves the program in the plug-in's folder: without it
    // (SetUpCmd user-setup after an installation for one user) nothing is set to run.
    const std::string program = path::join(targetFolder, kLogonProgramName);
    if (!outcome.done && probePath(program) == PathIsFile)
        applyAll(journal, runAtNextLogonItems(program), outcome.failures);
    if (unsigned long error = journal.commit(RecordHeader(), userHeader(targetFolder)))
        outcome.failures.push_back({Failure::Action::WriteKey, store.name(), error});
    if (outcome.done || probePath(program) != PathIsFile) {
        if (unsigned long error = stopLogonRuns())
            outcome.failures.push_back({Failure::Action::WriteKey, logonRunValuePath(), error});
    }
    log.failures(outcome.failures);
    log.line(outcome.done ? logtexts::kUserStepDone : logtexts::kUserStepAgainAtLogon, targetFolder);
    return outcome;
}

int runLogonProgram() {
    const std::string program = moduleFilePath();
    const std::string folder = path::folderOf(program, isSystemLeadByte);
    SetupLog log(userLogPath(), SetupLog::Mode::Append);
    log.header(widenFromSystemCodePage(kLogonProgramName));
    switch (machineState(folder)) {
        case MachineState::InstalledHere: {
            UserStepOutcome outcome = setUpForUser(folder, log);
            return !outcome.failures.empty() ? 2 : outcome.done ? 0 : 1;
        }
        case MachineState::InstalledElsewhere:
            stopLogonRuns();
            log.line(logtexts::kInstalledElsewhere, folder);
            return 0;
        case MachineState::Removed:
            break;
    }
    log.line(logtexts::kUserPartRemoving, folder);
    return removeCurrentUsersPart(currentUserIdentity(), false, log).failures.empty() ? 0 : 2;
}
