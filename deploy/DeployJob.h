// The deployment into the target folder: every plug-in file of the setup data folder is
// copied there (the settings file into the per-user folder instead), each failed copy
// asking the user to abort, retry or ignore, with one progress step per directory entry.
// Everything that can be checked is checked first (prepare), before anything is created.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Controls.h"

class DeployJob {
   public:
    // The target folder is kept without its trailing backslash; the progress bar belongs to
    // the caller, which also sets its range and step.
    DeployJob(std::string targetFolder, CProgressCtrl& progressBar);

    enum class Readiness {
        Ready,
        PathTooLong,     // a path the deployment would create or write is too long for Windows
        SourceUnusable,  // no setup data folder, or it cannot be listed
    };
    // Finds the setup data folder and lists it, and checks the length of every path the
    // deployment will create or write: the folders, each file under its destination name,
    // the per-user folder. Creates and writes nothing; the user has been told what is wrong.
    Readiness prepare();

    // Prepares (unless done), creates the chosen and the target folder and copies. True when
    // every entry has been handled; false when prepare failed or the user chose Abort.
    bool deployProductFiles();

    // Prepares the source and the destination, copies, asks on failure and leaves the copy
    // writable and without download marker; false means Abort.
    bool copyProductFile(const std::string& source, const std::string& destination);

    const std::string& target() const { return targetFolder; }
    // The files the user chose to leave out (Ignore), as destination paths or names.
    const std::vector<std::string>& ignoredFiles() const { return ignored; }

   private:
    struct Entry {
        std::string name;
        bool isFolder;
    };
    bool listDataFolder();
    bool pathsFit();
    bool deployEntry(const Entry& entry);
    bool copySettingsFile(const std::string& source, const std::string& name);
    int askAboutCopy(const std::string& text);

    std::string targetFolder;
    CProgressCtrl& progressBar;
    bool preparedOnce = false;
    Readiness readiness = Readiness::Ready;
    std::string dataFolder;
    std::vector<Entry> entries;  // as the file system lists them, "." and ".." included
    std::vector<std::string> ignored;
};
