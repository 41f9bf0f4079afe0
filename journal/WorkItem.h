// One change a run makes to the machine, with its undoing beside it: a file written, a folder
// made, a key or value written, an original kept, a trusted folder added, and the copies kept of
// what a run replaces until it commits. Every run is a list of work items (journal/Journal.h);
// rolling a run back, uninstalling, taking a user's part away and removing an installation that
// kept no record are all the same walk over such a list, last item first.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "journal/Failure.h"
#include "journal/ItemRecord.h"

// Whose record an item belongs to: the machine's (below HKEY_LOCAL_MACHINE, where only
// administrators write), or the user's (their own registry and profile).
enum class Store { Machine, User };

// What undoing an item came to.
struct UndoResult {
    enum class Status {
        Undone,  // put back as it was (or there was nothing left to undo)
        Kept,    // left on purpose: a file changed since it was written is the user's now
        Failed,  // could not be undone now: the item stays in the record for a later run
    };
    Status status = Status::Undone;
    Failure failure;

    static UndoResult undone() { return {}; }
    static UndoResult kept(Failure why) { return {Status::Kept, std::move(why)}; }
    static UndoResult failed(Failure why) { return {Status::Failed, std::move(why)}; }
};

class WorkItem {
   public:
    virtual ~WorkItem() = default;

    // Makes the change. A failure (error not 0) leaves nothing of it done.
    virtual Failure apply() = 0;
    // Puts back what was there before the change.
    virtual UndoResult undo() = 0;
    // The run that made the change has committed: what was kept only to undo the run (a copy of
    // a replaced file) is let go of.
    virtual void commit() {}
    virtual ItemRecord record() const = 0;
    // The path or key the item changes, as the log names it.
    virtual std::string subject() const = 0;

    Store store = Store::Machine;
    // Not needed for AutoCAD to load the plug-in (the entry in Programs and Features, the logon
    // step's registration): a failure is reported, and the run goes on.
    bool auxiliary = false;
};

using WorkItems = std::vector<std::unique_ptr<WorkItem>>;
