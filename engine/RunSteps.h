// A run's changes as steps: each step one thing the user would name (a file copied, a key
// written, a folder made), made of the work items that do it, what it replaces first kept aside.
// The steps are made in order with their progress; a failure is put to the observer: try again,
// go on without that step (what it had begun is undone at once: a file left out keeps the old
// one), or stop, and then the whole run is rolled back.
#pragma once

#include <vector>

#include "engine/EngineObserver.h"
#include "journal/Journal.h"
#include "journal/SetupLog.h"

using Step = WorkItems;
using Steps = std::vector<Step>;

// Adds items as steps: an item that keeps what the next one replaces (a file moved aside, a key's
// values, an original kept) goes into one step with it.
void appendSteps(Steps& steps, WorkItems items);

struct StepsOutcome {
    bool stopped = false;
    Refusal why{Refusal::Reason::Aborted, "", 0};  // when stopped
    FailureLog goneOnWithout;  // failures the user chose to go on without, and of auxiliary items
    FailureLog notPutBack;     // when stopped: what the rollback could not put back
};
StepsOutcome applySteps(Journal& journal, Steps& steps, EngineObserver& observer, SetupLog& log);

// The engine's advice about a failure: try again while another program holds the file (it may
// let go), else stop.
FailureAnswer recommendedAnswer(const Failure& failure);
