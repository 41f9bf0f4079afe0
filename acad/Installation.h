// One installation, as every front end runs it: everything that can be refused is refused
// before anything is created (prepare); then the deployment into the target folder, the
// registration and the copies into the AutoCAD folders, with a progress step after each, and
// a line in the log for each step and each failure.
#pragma once

#include <memory>
#include <string>

#include "acad/AcadInstallations.h"
#include "deploy/InstallObserver.h"
#include "deploy/SetupLog.h"

class DeployJob;
class InstallRecorder;

class Installation {
   public:
    // The installations are what discovery found; the observer is told and asked what the
    // front end must answer. The files come from the named data folder, or (none named) from
    // the setup data folder beside the program.
    Installation(const AcadInstallations& installations, InstallObserver& observer, SetupLog& log,
                 std::string namedDataFolder = std::string());
    ~Installation();

    // Checks the setup data folder and every path to be written for this target folder
    // (the chosen folder followed by \T-DodudEdiv); creates nothing.
    InstallReadiness prepare(const std::string& targetFolder);

    // An existing chosen folder is given the plug-in folder's security too (by default it keeps
    // its own; see othersMayChange). Before run.
    void protectChosenFolder();
    // No entry in Programs and Features (a Windows Installer package that runs the installation
    // has its own). Before run.
    void leaveOutOfProgramsAndFeatures() { programsEntry_ = false; }
    // The installing account's own part (the trusted folder in its profiles, the settings file in
    // its folder) is left to the logon step of an installation for every user: nothing of that
    // account's can fail the installation. Before prepare.
    void leaveUserPartToLogon() { userPart_ = false; }

    // Runs the prepared installation for the selected releases, recording what it writes (see
    // deploy/InstallRecord.h), and lists it in Programs and Features. False when the deployment into the
    // target folder stopped (Abort, a folder that could not be made safe, or nothing prepared): nothing after
    // it has run.
    bool run(const ReleaseSelection& releases);

    // After a run that stopped: whether it had already changed an installation that was there
    // before, which is now part old and part new.
    bool leftInconsistent() const { return inconsistent_; }

    // The record of this run, for the steps a front end adds to it (the logon step).
    InstallRecorder* recorder() { return recorder_.get(); }

    // What could not be done, in the order it happened.
    const FailureLog& failures() const { return failures_; }
    // The target folder, without trailing backslash.
    const std::string& targetFolder() const { return targetFolder_; }

   private:
    // Passes everything on to the front end's observer and logs it on the way.
    class LoggedObserver : public InstallObserver {
       public:
        LoggedObserver(InstallObserver& inner, SetupLog& log) : inner(inner), log(log) {}
        void step() override { inner.step(); }
        CopyAnswer copyFailed(const Failure& failure) override;
        void refused(const Refusal& refusal) override;

       private:
        InstallObserver& inner;
        SetupLog& log;
    };

    void logInstalled(const ReleaseSelection& releases);

    const AcadInstallations& installations;
    LoggedObserver observer;
    SetupLog& log;
    std::string namedDataFolder;
    std::string targetFolder_;
    FailureLog failures_;
    std::unique_ptr<DeployJob> job;
    std::unique_ptr<InstallRecorder> recorder_;
    bool inconsistent_ = false;
    bool programsEntry_ = true;
    bool userPart_ = true;
};
