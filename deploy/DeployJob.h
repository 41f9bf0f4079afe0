// The deployment into the target folder: every plug-in file of the setup data folder is
// copied there (the settings file into the per-user folder instead), each failed copy asked
// about (abort, retry or ignore), with one progress step per directory entry. Everything that
// can be checked is checked first (prepare), before anything is created.
#pragma once

#include <string>
#include <vector>

#include "deploy/InstallObserver.h"

class DeployJob {
   public:
    // The target folder is kept without its trailing backslash. The observer is stepped once
    // per directory entry (its owner sets up the range), asked about failed copies and told
    // what stops the job; the files left out (Ignore) are added to failures. The files come
    // from the named data folder, or (none named) from the setup data folder beside the program.
    DeployJob(std::string targetFolder, InstallObserver& observer, FailureLog& failures,
              std::string namedDataFolder = std::string());

    using Readiness = InstallReadiness;
    // Finds the setup data folder and lists it, and checks the length of every path the
    // deployment will create or write: the folders, each file under its destination name,
    // the per-user folder. Creates and writes nothing.
    Readiness prepare();

    // Prepares (unless done), creates the chosen and the target folder with their protected
    // security and copies. True when every entry has been handled; false when prepare failed,
    // a folder could not be protected (told to the observer; nothing is copied) or the answer
    // was Abort.
    bool deployProductFiles();

    // Prepares the source, copies over the destination and asks on failure; false means Abort.
    bool copyProductFile(const std::string& source, const std::string& destination);

    const std::string& target() const { return targetFolder; }

   private:
    struct Entry {
        std::string name;
        bool isFolder;
    };
    bool listDataFolder();
    bool pathsFit();
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
};
