// One installation; see Installation.h.
#include "acad/Installation.h"

#include "acad/ProgramsEntry.h"
#include "acad/Registration.h"
#include "acad/ReleaseDeployment.h"
#include "acad/Uninstallation.h"
#include "deploy/DeployJob.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
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
      namedDataFolder(std::move(namedDataFolder)),
      recorder_(std::make_unique<InstallRecorder>()) {}

Installation::~Installation() = default;

InstallReadiness Installation::prepare(const std::string& targetFolder) {
    job = std::make_unique<DeployJob>(targetFolder, observer, failures_, namedDataFolder, recorder_.get());
    targetFolder_ = job->target();
    if (!userPart_) job->leaveUserFolderAlone();
    return job->prepare();
}

void Installation::protectChosenFolder() {
    if (job) job->protectChosenFolder();
}

bool Installation::run(const ReleaseSelection& releases) {
    if (!job) return false;
    InstallationRecord earlier;
    const bool installedBefore = readInstallRecord(earlier) || probePath(targetFolder_) == PathIsFolder;
    recorder_->begin(targetFolder_);  // a failure to record is told at the end
    log.line(logtexts::kCopyingFiles, targetFolder_);
    if (!job->deployProductFiles()) {
        inconsistent_ = installedBefore && job->changedSomething();
        log.line(inconsistent_ ? logtexts::kStoppedInconsistent : logtexts::kStoppedUnregistered,
                 targetFolder_);
        // Over nothing earlier, what this run did is taken back: nothing half-done is left.
        if (!installedBefore && job->changedSomething()) undoStoppedRun(log);
        return false;
    }
    observer.step();
    std::size_t logged = failures_.size();  // the copies' failures were logged as they were asked about
    registerReleases(installations, releases, targetFolder_, failures_, recorder_.get(), userPart_);
    observer.step();
    deployToReleases(installations, releases, observer, failures_, namedDataFolder, recorder_.get());
    if (programsEntry_) {
        if (unsigned long error = registerProgramsEntry(targetFolder_, recorder_.get()))
            failures_.push_back({Failure::Action::ProgramsEntry, programsEntryKeyName(), error});
    }
    observer.step();
    if (recorder_->error() != 0)
        failures_.push_back({Failure::Action::WriteKey, installRecordKeyName(), recorder_->error()});
    else
        recorder_->finish();
    log.failures(failures_, logged);
    logInstalled(releases);
    log.line(logtexts::runEnded(failures_.size()), targetFolder_);
    return true;
}

void Installation::logInstalled(const ReleaseSelection& releases) {
    for (const AcadInstallation& installation : selectedInstallations(installations, releases))
        log.line(logtexts::installedFor(installation.year), installation.location);
}
