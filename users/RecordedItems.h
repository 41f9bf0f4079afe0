// The items of a record as work items again, to be undone: a run that was cut off (the power
// failed, the process was ended) is rolled back from its list in the record, an uninstallation
// walks the installation's items, and a package's commit or rollback finishes a run another
// process made.
#pragma once

#include <memory>
#include <vector>

#include "journal/RecordStore.h"
#include "journal/WorkItem.h"
#include "users/UserFiles.h"

// The item, or null for a kind this program does not act on.
std::unique_ptr<WorkItem> recordedItem(const ItemRecord& recorded, Store store);

// An item of a user's own record as a run may act on it (users/UserRecordRules.h: within the
// user's registry, or the user's own file confirmed and then taken away through the handle judged),
// or null: refused, and why (a Windows error).
std::unique_ptr<WorkItem> admittedUserItem(const ItemRecord& recorded, const UserIdentity& user,
                                           unsigned long& refusal);
WorkItems recordedItems(const std::vector<ItemRecord>& records, Store store);

// What undoing items of a record, last first, leaves for a later run, in the record's order: the
// items that could not be undone now and, when there are such, the folders that stayed because
// they still hold one. results[i] is what undoing records[i] came to.
std::vector<ItemRecord> leftForLater(const std::vector<ItemRecord>& records,
                                     const std::vector<UndoResult>& results);

// Undoes a run a record holds that never committed (the run's list goes); what could not be
// put back. A run of the current user's own record is undone only as far as its items are admitted
// (admittedUserItem); each refused one is given back as a failure (Failure::Action::Refused).
FailureLog rollBackPending(RecordStore& store, Store which);
// Finishes such a run as committed: its items join the installation's, with the header given.
unsigned long commitPending(RecordStore& store, Store which, const RecordHeader& header);
