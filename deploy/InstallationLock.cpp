// The installation lock; see InstallationLock.h.
#include "deploy/InstallationLock.h"

#include <windows.h>

InstallationLock::InstallationLock() {
    mutex_ = CreateMutexW(nullptr, FALSE, L"Global\\TorlenBatchPrintInstallation");
    heldElsewhere_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

InstallationLock::~InstallationLock() {
    if (mutex_) CloseHandle(static_cast<HANDLE>(mutex_));
}
