// The deployment into the target folder: every plug-in file of the setup data folder is
// copied there (the settings file into the per-user folder instead), each failed copy
// asking the user to abort, retry or ignore, with one progress step per directory entry.
#pragma once

#include <string>

#include "framework/Controls.h"

class DeployJob {
   public:
    // The target folder is kept without its trailing backslash; the progress bar belongs to
    // the caller, which also sets its range and step.
    DeployJob(std::string targetFolder, CProgressCtrl& progressBar);

    // True when every entry has been handled; false when the setup data folder is missing,
    // a path is too long to handle, or the user chose Abort (the user has been told).
    bool deployProductFiles();

    // Prepares the source, copies it over the destination and asks on failure; false
    // means Abort.
    bool copyProductFile(const std::string& source, const std::string& destination);

    const std::string& target() const { return targetFolder; }

   private:
    bool deployEntry(const std::string& dataFolder, const WIN32_FIND_DATAA& entry);
    bool destinationFor(const std::string& name, std::string& destination);
    std::string userAppDataFolder();

    std::string targetFolder;
    CProgressCtrl& progressBar;
};
