// The end of a package's run; see PackageRun.h.
#include "engine/PackageRun.h"

#include "engine/InstallationLock.h"
#include "framework/NarrowString.h"
#include "journal/LogTexts.h"
#include "journal/RecordStore.h"
#include "users/RecordedItems.h"

namespace {

// Whether the machine's record holds a run of this package waiting for its end.
bool waitingRunOf(const std::string& packageCode, const StoredRecord& record) {
    return record.awaitingCommit && narrow::equalsIgnoreCase(record.pendingHeader.owner, packageCode);
}

}  // namespace

PendingOutcome commitPackageRun(const std::string& packageCode, SetupLog& log) {
    PendingOutcome outcome;
    RecordStore machine = RecordStore::machine();
    const StoredRecord record = machine.read();
    if (!waitingRunOf(packageCode, record)) {
        log.line(logtexts::refusalWords({Refusal::Reason::NothingPending, packageCode, 0}), packageCode);
        return outcome;
    }
    if (unsigned long error = commitPending(machine, Store::Machine, record.pendingHeader))
        outcome.failures.push_back({Failure::Action::WriteKey, machine.name(), error});
    log.failures(outcome.failures);
    log.line(logtexts::kPackageRunCommitted, record.pendingHeader.targetFolder);
    outcome.done = outcome.failures.empty();
    return outcome;
}

PendingOutcome rollBackPackageRun(const std::string& packageCode, SetupLog& log) {
    PendingOutcome outcome;
    RecordStore machine = RecordStore::machine();
    const StoredRecord record = machine.read();
    if (!waitingRunOf(packageCode, record)) {
        log.line(logtexts::refusalWords({Refusal::Reason::NothingPending, packageCode, 0}), packageCode);
        return outcome;
    }
    outcome.failures = rollBackPending(machine, Store::Machine);
    log.failures(outcome.failures);
    log.line(logtexts::kStoppedAndUndone, record.pendingHeader.targetFolder);
    outcome.done = outcome.failures.empty();
    return outcome;
}
