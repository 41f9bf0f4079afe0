// The dialog's hold on the installation lock; see SetupLock.h.
#include "ui/SetupLock.h"

// The lock is a named object that exists while any installer has it open, and each installer
// learns when opening it whether another had it open already. So a held lock is asked about
// again only after letting go of this program's own handle, which would keep the object alive.
bool SetupLock::ours() {
    if (!lock_ || lock_->heldElsewhere()) {
        lock_.reset();
        lock_.emplace();
    }
    return !lock_->heldElsewhere();
}

void SetupLock::retake() {
    if (!lock_) lock_.emplace();
}
