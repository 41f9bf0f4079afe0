// SetUpCmd.exe's side of the installation; see CmdObserver.h.
#include "cli/CmdObserver.h"

#include <windows.h>

#include "cli/CmdTexts.h"

namespace cli {

namespace {
// A file another program holds (an AutoCAD that is just closing, a virus scanner) is tried
// again this many times, a second apart, before it counts as failed.
const int kRetriesOfAHeldFile = 3;
const DWORD kRetryPause = 1000;

bool isHeld(unsigned long error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }
}  // namespace

InstallObserver::CopyAnswer CmdObserver::copyFailed(const Failure& failure) {
    if (failure.subject != retrying) {
        retrying = failure.subject;
        retries = 0;
    }
    if (isHeld(failure.error) && retries < kRetriesOfAHeldFile) {
        ++retries;
        log.line(L"文件被占用，稍后重试", failure.subject, failure.error);
        Sleep(kRetryPause);
        return CopyAnswer::Retry;
    }
    if (onCopyFailure == OnCopyFailure::Abort) {
        log.line(L"复制失败，安装中止", failure.subject, failure.error);
        abortedCopy = true;
        return CopyAnswer::Abort;
    }
    log.line(failureWords(failure), failure.subject, failure.error);
    return CopyAnswer::Ignore;
}

void CmdObserver::refused(const Refusal& refusal) {
    ++refusals;
    log.line(refusalWords(refusal), refusal.subject, refusal.error);
}

}  // namespace cli
