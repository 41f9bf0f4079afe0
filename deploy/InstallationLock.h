// One installation at a time on a machine, SetUp.exe and SetUpCmd.exe alike: a named mutex in
// the global namespace (seen from every session, so that a deployment tool running as SYSTEM
// sees a user's SetUp.exe), held for the life of the object.
#pragma once

class InstallationLock {
   public:
    InstallationLock();
    ~InstallationLock();
    InstallationLock(const InstallationLock&) = delete;
    InstallationLock& operator=(const InstallationLock&) = delete;

    // True when another installer holds it: this one must not install.
    bool heldElsewhere() const { return heldElsewhere_; }

   private:
    void* mutex_ = nullptr;
    bool heldElsewhere_ = false;
};
