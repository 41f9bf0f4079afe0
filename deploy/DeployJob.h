// The deployment into the target folder: every plug-in file of the setup data folder is
// copied there (the settings file into the per-user folder instead), each failed copy asked
// about (abort, retry or ignore), with one progress step per directory entry. Everything that
// can be checked is checked first (prepare), before anything is created.
#pragma once

#include <string>
#include <vector>

#include "deploy/InstallObserver.h"

class InstallRecorder;

class DeployJob {
   public:
    // The target folder is kept without its trailing backslash. The observer is stepped once
    // per directory entry (its owner sets up the range), asked about failed copies and told
    // what stops the job; the files left out (Ignore) are added to failures. The files come
    // from the named data folder, or (none named) from the setup data folder beside the program.
    // What is written goes into the record, when there is one.
    DeployJob(std::string targetFolder, InstallObserver& observer, FailureLog& failures,
              std::string namedDataFolder = std::string(), InstallRecorder* recorder = nullptr);

    using Readiness = InstallReadiness;
    // Finds the setup data folder and lists it, and checks the length of every path the
    // deployment will create or write: the folders, each file under its destination name,
    // the per-user folder. Creates and writes nothing.
    Readiness prepare();

    // Prepares (unless done); asks about every file already in the target folder that another
    // program holds, before anything is changed (an upgrade stops whole or not at all); creates
    // the chosen and the target folder with their protected security; copies. True when every
    // entry has been handled; false when prepare failed, a folder could not be made safe (told
    // to the observer; nothing is copied) or the answer was Abort.
    bool deployProductFiles();

    // Whether the job stopped after it had changed something (a folder made, a file copied).
    bool changedSomething() const { return changed; }

    // Gives an existing chosen folder the plug-in folder's security too (by default it keeps
    // its own).
    void protectChosenFolder() { protectChosen = true; }
    // Leaves the settings file out, and the per-user folder unmeasured: the logon step of an
    // installation for every user copies it for each user. Before prepare.
    void leaveUserFolderAlone() { userFolder = false; }

    // Prepares the source, copies over the destination and asks on failure; false means Abort.
    // What is copied goes into the record unless told otherwise.
    bool copyProductFile(const std::string& source, const std::string& destination, bool record = true);

    const std::string& target() const { return targetFolder; }

   private:
    struct Entry {
        std::string name;
        bool isFolder;
    };
    bool listDataFolder();
    bool pathsFit();
    bool destinationsFree();
    bool deployEntry(const Entry& entry);
    bool copySettingsFile(const std::string& source, const std::string& name);
    // Asks about a failure; true to try again, false to go on (Ignore, recorded) or stop.
    bool askAgain(const Failure& failure, bool& abort);

    std::string targetFolder;
    InstallObserver& observer;
    FailureLog& failures;
    bool preparedOnce = false;
    Readiness readiness = Readiness::Ready;
    std::string namedDataFolder;
    std::string dataFolder;
    std::vector<Entry> entries;  // as the file system lists them, "." and ".." included
    std::vector<std::string> leftOut;  // held files the answer was to go on without
    InstallRecorder* recorder;
    bool changed = false;
    bool protectChosen = false;
    bool userFolder = true;
};
