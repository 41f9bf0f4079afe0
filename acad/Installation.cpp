// One installation; see Installation.h.
#include "acad/Installation.h"

#include "acad/Registration.h"
#include "acad/ReleaseDeployment.h"
#include "deploy/DeployJob.h"
#include "deploy/LogTexts.h"

InstallObserver::CopyAnswer Installation::LoggedObserver::copyFailed(const Failure& failure) {
    CopyAnswer answer = inner.copyFailed(failure);
    log.line(logtexts::answeredWords(failure, answer), failure.subject, failure.error);
    return answer;
}

void Installation::LoggedObserver::refused(const Refusal& refusal) {
    log.line(logtexts::refusalWords(refusal), refusal.subject, refusal.error);
    inner.refused(refusal);
}

Installation::Installation(const AcadInstallations& installations, InstallObserver& observer, SetupLog& log,
                           std::string namedDataFolder)
    : installations(installations),
      observer(observer, log),
      log(log),
      namedDataFolder(std::move(namedDataFolder)) {}

Installation::~Installation() = default;

InstallReadiness Installation::prepare(const std::string& targetFolder) {
    job = std::make_unique<DeployJob>(targetFolder, observer, failures_, namedDataFolder);
    targetFolder_ = job->target();
    return job->prepare();
}

bool Installation::run(const ReleaseSelection& releases) {
    log.line(logtexts::kCopyingFiles, targetFolder_);
    if (!job || !job->deployProductFiles()) {
        log.line(logtexts::kStoppedUnregistered, targetFolder_);
        return false;
    }
    observer.step();
    std::size_t logged = failures_.size();  // the copies' failures were logged as they were asked about
    registerReleases(installations, releases, targetFolder_, failures_);
    observer.step();
    deployToReleases(installations, releases, observer, failures_, namedDataFolder);
    observer.step();
    log.failures(failures_, logged);
    logInstalled(releases);
    log.line(logtexts::runEnded(failures_.size()), targetFolder_);
    return true;
}

void Installation::logInstalled(const ReleaseSelection& releases) {
    for (const AcadInstallation& installation : selectedInstallations(installations, releases))
        log.line(logtexts::installedFor(installation.year), installation.location);
}
