// SetUpCmd.exe's side of the engine; see CmdObserver.h.
#include "cli/CmdObserver.h"

#include <windows.h>

namespace cli {

namespace {
// A file another program holds (an AutoCAD that is just closing, a virus scanner) is tried
// again this many times, a second apart, before it counts as failed.
const int kRetriesOfAHeldFile = 3;
const DWORD kRetryPause = 1000;
}  // namespace

FailureAnswer CmdObserver::failed(const Failure& failure, FailureAnswer recommended) {
    if (failure.subject != retrying) {
        retrying = failure.subject;
        retries = 0;
    }
    if (recommended == FailureAnswer::Retry && retries < kRetriesOfAHeldFile) {
        ++retries;
        Sleep(kRetryPause);
        return FailureAnswer::Retry;
    }
    return onCopyFailure == OnCopyFailure::Abort ? FailureAnswer::Abort : FailureAnswer::Ignore;
}

}  // namespace cli
