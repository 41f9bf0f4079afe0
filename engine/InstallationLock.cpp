// The installation lock; see InstallationLock.h.
#include "engine/InstallationLock.h"

#include <windows.h>

namespace {

// The process's hold: the mutex, how many objects share it, and whether another process had made
// it before this one first asked.
HANDLE held = nullptr;
int holders = 0;
bool madeElsewhere = false;

}  // namespace

InstallationLock::InstallationLock() {
    if (holders++ == 0) {
        held = CreateMutexW(nullptr, FALSE, L"Global\\TorlenBatchPrintInstallation");
        madeElsewhere = held && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    heldElsewhere_ = madeElsewhere;
}

InstallationLock::~InstallationLock() {
    if (--holders == 0 && held) {
        CloseHandle(held);
        held = nullptr;
    }
}
