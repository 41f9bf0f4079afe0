// One run of the installer as a transaction: every change is a work item, made and written into
// the run's list in the record at once; the run then either commits (its items join the record
// of the installation, and what it kept of the things it replaced is let go of) or is rolled
// back (every item undone, last first, and the machine is as the run found it, an earlier
// installation included).
#pragma once

#include <memory>
#include <vector>

#include "journal/RecordStore.h"
#include "journal/WorkItem.h"

class Journal {
   public:
    // The records the run's items go into: the machine's, and the current user's for a run that
    // has a part of theirs; either may be null when the run has no items of that store.
    Journal(RecordStore* machine, RecordStore* user);

    // Makes the change; once made it is the run's (taken from the caller), and in its record. A
    // failure leaves nothing of it done (also when the record could not be written: the change is
    // undone again), and the item with the caller, to be tried again.
    Failure apply(std::unique_ptr<WorkItem>& item);
    bool changedAnything() const { return !done_.empty(); }
    // Undoes the last items made (the first part of a step the user chose to go on without), as if
    // they had not been made.
    void undoLast(std::size_t count);

    // Undoes every item of the run, last first; the run's lists leave the records. Gives what
    // could not be put back.
    FailureLog rollback();
    // The run is the installation now: its items join the records (see mergeRun) with the headers
    // given, then what was kept of replaced things is let go of. 0 or the first error writing a
    // record.
    unsigned long commit(const RecordHeader& machineHeader, const RecordHeader& userHeader);
    // The run stays as it is, waiting for its package's commit or rollback (a later process), with
    // the header the machine's record will have once it commits.
    unsigned long holdForCommit(const RecordHeader& machineHeader);

   private:
    RecordStore* storeOf(const WorkItem& item) const;
    unsigned long begin(RecordStore& store);

    RecordStore* machine_;
    RecordStore* user_;
    bool begunMachine_ = false;
    bool begunUser_ = false;
    WorkItems done_;
};

// What undoing a list of items, last first, came to: one result per item, in the list's order.
std::vector<UndoResult> undoInReverse(WorkItems& items);
