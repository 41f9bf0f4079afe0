// One installation; see Installation.h.
#include "acad/Installation.h"

#include "deploy/FileOperations.h"

Installation::Installation(AcadReleaseTable& table, InstallObserver& observer, std::string namedDataFolder)
    : table(table), observer(observer), namedDataFolder(std::move(namedDataFolder)) {}

DeployJob::Readiness Installation::prepare(const std::string& targetFolder) {
    job.emplace(targetFolder, observer, log, namedDataFolder);
    return job->prepare();
}

bool Installation::run(const ReleaseSelection& releases) {
    if (!job || !job->deployProductFiles()) return false;
    observer.step();
    assignFolderPath(table.installFolder, job->target());
    table.registerReleases(releases, log);
    observer.step();
    table.deployToReleases(releases, observer, log, namedDataFolder);
    observer.step();
    return true;
}
