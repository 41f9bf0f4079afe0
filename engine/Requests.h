// What a front end asks of the engine, and what comes back: one installation, one
// uninstallation. The engine runs the whole order itself (AutoCAD running, the installation
// lock, discovery, the plan, the changes, the registration for every user, the commit) and puts
// every decision to the front end's observer (engine/EngineObserver.h).
#pragma once

#include <string>

#include "acad/AcadInstallations.h"
#include "journal/Failure.h"

// Who asked, for the installation's record: the program, or a Windows Installer package.
struct Owner {
    std::string program;      // "SetUp.exe", "SetUpCmd.exe"
    std::string packageCode;  // a package's product code, {…}; empty for none
    std::string packageVersion;
};

struct InstallRequest {
    Owner owner;
    // The folder the user chose, as typed (the system code page); the plug-in goes into its
    // \T-DodudEdiv. Checked by the engine (the dialog's path field rules).
    std::string chosenFolder;
    ReleaseSelection releases{};  // non-zero: install for that release
    bool releasesNamed = false;   // named one by one: a release not found is said in the log
    std::string dataFolder;       // the files come from here; empty: the Data folder beside the program
    // This account (the trusted folder in its profiles, the settings file in its folder, in the same
    // run), or every user of the machine (the logon step, registered with Windows; the account that
    // runs the installation gets its part at once, after the run, where nothing of it can fail it).
    enum class Scope { ThisAccount, EveryUser } scope = Scope::ThisAccount;
    bool programsEntry = true;  // list the installation in Programs and Features
    // A chosen folder that exists and that others than administrators may change: ask the observer,
    // protect it too, or refuse it.
    enum class UnsafeChosenFolder { Ask, Protect, Refuse } unsafeChosenFolder = UnsafeChosenFolder::Ask;
    // Leave the run waiting for its package's commit or rollback (a later process) instead of
    // committing it.
    bool holdForCommit = false;
};

struct InstallOutcome {
    enum class Result {
        Installed,  // everything the run had to do, but for what the user chose to go on without
        Refused,    // stopped before anything was changed (refusal says why)
        Stopped,    // stopped after changes, which are all undone (refusal says why, or Abort)
    };
    Result result = Result::Refused;
    Refusal refusal{Refusal::Reason::NothingToInstall, "", 0};
    FailureLog failures;    // Installed: what was gone on without, and auxiliary items that failed
    FailureLog notPutBack;  // Stopped: what could not be put back as it was
    std::string targetFolder;
};

struct UninstallRequest {
    Owner owner;
    bool purge = false;  // a settings file a user changed goes too, and this user's own folder
    // Every user's part (an uninstallation run by an administrator or SYSTEM) or this account's.
    bool everyUser = true;
};

struct UninstallOutcome {
    enum class Result {
        Uninstalled,  // everything is gone (files changed since they were installed are kept)
        Partly,       // something could not be removed now: the record keeps it for a later run
        Refused,      // nothing was done (refusal says why)
        LeftAlone,    // a newer package owns the installation: nothing was done, and rightly
    };
    Result result = Result::Refused;
    Refusal refusal{Refusal::Reason::NothingToInstall, "", 0};
    FailureLog failures;            // what could not be removed
    std::vector<std::string> kept;  // files kept because they changed since they were installed
    std::vector<std::string> usersLeftForLogon;
};
