// SetUp.exe's hold on the installation lock, one installer at a time on the machine: taken when
// the program starts and kept while the dialog is open, so that SetUpCmd.exe does not install
// beside it; looked at again on Install, because an installer that held it when the dialog
// opened may have ended since; let go while the program starts itself again elevated.
#pragma once

#include <optional>

#include "engine/Engine.h"

class SetupLock {
   public:
    SetupLock() { lock_.emplace(); }

    // True when no other installer holds the lock (now, not only when the program started).
    bool ours();
    // Lets go of it, for the elevated instance that takes over; retake when that did not start.
    void release() { lock_.reset(); }
    void retake();

   private:
    std::optional<InstallationLock> lock_;
};
