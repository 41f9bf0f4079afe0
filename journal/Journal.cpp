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
    if (unsigned long error = store->appendToRun(item->record())) {
        item->undo();
        return {Failure::Action::WriteKey, store->name(), error};
    }
    done_.push_back(std::move(item));
    return {};
}

void Journal::undoLast(std::size_t count) {
    for (; count > 0 && !done_.empty(); --count) {
        WorkItem& item = *done_.back();
        item.undo();
        storeOf(item)->dropLastFromRun();
        done_.pop_back();
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
    for (RecordStore* store : {machine_, user_}) {
        if (store && (store == machine_ ? begunMachine_ : begunUser_)) store->discardRun();
    }
    begunMachine_ = begunUser_ = false;
    return failures;
}

unsigned long Journal::commit(const RecordHeader& machineHeader, const RecordHeader& userHeader) {
    unsigned long first = 0;
    for (RecordStore* store : {machine_, user_}) {
        if (!store || !(store == machine_ ? begunMachine_ : begunUser_)) continue;
        std::vector<ItemRecord> run;
        for (const auto& item : done_) {
            if (storeOf(*item) == store) run.push_back(item->record());
        }
        const StoredRecord stored = store->readInstallation();
        unsigned long error =
            store->commit(store == machine_ ? machineHeader : userHeader, mergeRun(stored.items, run), run);
        if (first == 0) first = error;
    }
    for (const auto& item : done_) item->commit();
    done_.clear();
    begunMachine_ = begunUser_ = false;
    return first;
}

unsigned long Journal::holdForCommit(const RecordHeader& machineHeader) {
    unsigned long first = 0;
    for (RecordStore* store : {machine_, user_}) {
        if (!store || !(store == machine_ ? begunMachine_ : begunUser_)) continue;
        unsigned long error = store->holdForCommit(machineHeader);
        if (first == 0) first = error;
    }
    done_.clear();
    return first;
}
