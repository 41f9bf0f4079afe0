// The run as a transaction; see Journal.h.
#include "journal/Journal.h"

Journal::Journal(RecordStore* machine, RecordStore* user) : machine_(machine), user_(user) {}

RecordStore* Journal::storeOf(const WorkItem& item) const {
    return item.store == Store::Machine ? machine_ : user_;
}

// A store's run list is made with the run's first item in it: a run that changes nothing leaves
// the record as it was.
unsigned long Journal::begin(RecordStore& store) {
    bool& begun = &store == machine_ ? begunMachine_ : begunUser_;
    if (begun) return 0;
    unsigned long error = store.beginRun();
    begun = error == 0;
    return error;
}

Failure Journal::apply(std::unique_ptr<WorkItem>& item) {
    RecordStore* store = storeOf(*item);
    if (!store) return {Failure::Action::WriteKey, item->subject(), ERROR_INVALID_FUNCTION};
    if (unsigned long error = begin(*store)) return {Failure::Action::WriteKey, store->name(), error};
    Failure failure = item->apply();
    if (failure.failed()) return failure;
    ItemRecord record = item->record();
    if (unsigned long error = store->appendToRun(record)) {
        item->undo();
        return {Failure::Action::WriteKey, store->name(), error};
    }
    done_.push_back(std::move(item));
    recorded_.push_back(std::move(record));
    return {};
}

// What the items worked out behind the run (copies' digests) goes into their records now: each
// record written again that differs from the one written when its item was made.
unsigned long Journal::settle() {
    unsigned long first = 0;
    unsigned long machineNumber = 0, userNumber = 0;
    for (std::size_t i = 0; i < done_.size(); ++i) {
        WorkItem& item = *done_[i];
        RecordStore* store = storeOf(item);
        const unsigned long number = ++(store == machine_ ? machineNumber : userNumber);
        item.settle();
        ItemRecord record = item.record();
        if (record == recorded_[i]) continue;
        unsigned long error = store->rewriteRunItem(number, recorded_[i], record);
        if (first == 0) first = error;
        recorded_[i] = std::move(record);
    }
    return first;
}

void Journal::undoLast(std::size_t count) {
    for (; count > 0 && !done_.empty(); --count) {
        WorkItem& item = *done_.back();
        item.undo();
        storeOf(item)->dropLastFromRun();
        done_.pop_back();
        recorded_.pop_back();
    }
}

std::vector<UndoResult> undoInReverse(WorkItems& items) {
    std::vector<UndoResult> results(items.size());
    for (std::size_t i = items.size(); i-- > 0;) results[i] = items[i]->undo();
    return results;
}

FailureLog Journal::rollback() {
    FailureLog failures;
    for (const UndoResult& result : undoInReverse(done_)) {
        if (result.status == UndoResult::Status::Failed) failures.push_back(result.failure);
    }
    done_.clear();
    recorded_.clear();
    for (RecordStore* store : {machine_, user_}) {
        if (store && (store == machine_ ? begunMachine_ : begunUser_)) store->discardRun();
    }
    begunMachine_ = begunUser_ = false;
    return failures;
}

unsigned long Journal::commit(const RecordHeader& machineHeader, const RecordHeader& userHeader) {
    unsigned long first = settle();
    for (RecordStore* store : {machine_, user_}) {
        if (!store || !(store == machine_ ? begunMachine_ : begunUser_)) continue;
        std::vector<ItemRecord> run;
        for (std::size_t i = 0; i < done_.size(); ++i) {
            if (storeOf(*done_[i]) == store) run.push_back(recorded_[i]);
        }
        const StoredRecord stored = store->readInstallation();
        unsigned long error =
            store->commit(store == machine_ ? machineHeader : userHeader, mergeRun(stored.items, run), run);
        if (first == 0) first = error;
    }
    for (const auto& item : done_) item->commit();
    done_.clear();
    recorded_.clear();
    begunMachine_ = begunUser_ = false;
    return first;
}

unsigned long Journal::holdForCommit(const RecordHeader& machineHeader) {
    unsigned long first = settle();
    for (RecordStore* store : {machine_, user_}) {
        if (!store || !(store == machine_ ? begunMachine_ : begunUser_)) continue;
        unsigned long error = store->holdForCommit(machineHeader);
        if (first == 0) first = error;
    }
    done_.clear();
    recorded_.clear();
    return first;
}
