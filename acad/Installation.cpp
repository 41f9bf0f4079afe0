// One installation; see Installation.h.
#include "acad/Installation.h"

#include "deploy/FileOperations.h"

Installation::Installation(AcadReleaseTable& table, InstallObserver& observer)
    : table(table), observer(observer) {}

DeployJob::Readiness Installation::prepare(const std::string& targetFolder) {
    job.emplace(targetFolder, observer, log);
    return job->prepare();
}

bool Installation::run(const ReleaseSelection& releases) {
    if (!job || !job->deployProductFiles()) return false;
    observer.step();
    assignFolderPath(table.installFolder, job->target());
    table.registerReleases(releases, log);
    observer.step();
    table.deployToReleases(releases, observer, log);
    observer.step();
    return true;
}
