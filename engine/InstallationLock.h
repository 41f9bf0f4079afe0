// One installation at a time on a machine, SetUp.exe and SetUpCmd.exe alike: a named mutex in
// the global namespace (seen from every session, so that a deployment tool running as SYSTEM
// sees a user's SetUp.exe), held for the life of the object. The holds of one process are one:
// the dialog holds the lock while it is open, and the run it starts holds it too.
#pragma once

class InstallationLock {
   public:
    InstallationLock();
    ~InstallationLock();
    InstallationLock(const InstallationLock&) = delete;
    InstallationLock& operator=(const InstallationLock&) = delete;

    // True when another installer (another process) holds it: this one must not install.
    bool heldElsewhere() const { return heldElsewhere_; }

   private:
    bool heldElsewhere_ = false;
};
