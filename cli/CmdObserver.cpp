// SetUpCmd.exe's side of the installation; see CmdObserver.h.
#include "cli/CmdObserver.h"

#include <windows.h>

namespace cli {

namespace {
// A file another program holds (an AutoCAD that is just closing, a virus scanner) is tried
// again this many times, a second apart, before it counts as failed.
const int kRetriesOfAHeldFile = 3;
const DWORD kRetryPause = 1000;
}  // namespace

InstallObserver::CopyAnswer CmdObserver::copyFailed(const Failure& failure) {
    if (failure.subject != retrying) {
        retrying = failure.subject;
        retries = 0;
    }
    if (isHeldByAnotherProgram(failure.error) && retries < kRetriesOfAHeldFile) {
        ++retries;
        Sleep(kRetryPause);
        return CopyAnswer::Retry;
    }
    return onCopyFailure == OnCopyFailure::Abort ? CopyAnswer::Abort : CopyAnswer::Ignore;
}

}  // namespace cli
