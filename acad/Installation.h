// One installation, as every front end runs it: everything that can be refused is refused
// before anything is created (prepare); then the deployment into the target folder, the
// registration and the copies into the AutoCAD folders, with a progress step after each.
#pragma once

#include <optional>
#include <string>

#include "acad/AcadReleaseTable.h"
#include "deploy/DeployJob.h"

class Installation {
   public:
    // The table is what discovery found; the observer is told and asked what the front end
    // must answer. The files come from the named data folder, or (none named) from the setup
    // data folder beside the program.
    Installation(AcadReleaseTable& table, InstallObserver& observer,
                 std::string namedDataFolder = std::string());

    // Checks the setup data folder and every path to be written for this target folder
    // (the chosen folder followed by \T-DodudEdiv); creates nothing.
    DeployJob::Readiness prepare(const std::string& targetFolder);

    // Runs the prepared installation for the selected releases. False when the deployment
    // into the target folder stopped (Abort, or nothing prepared): nothing after it has run.
    bool run(const ReleaseSelection& releases);

    // What could not be done, in the order it happened.
    const FailureLog& failures() const { return log; }

   private:
    AcadReleaseTable& table;
    InstallObserver& observer;
    std::string namedDataFolder;
    FailureLog log;
    std::optional<DeployJob> job;
};
