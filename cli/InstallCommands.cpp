// The commands that change the machine: install (the Install button's installation, without
// questions), uninstall, and user-setup (the part of an installation that belongs to each user).
// Each turns its command line into a request, runs the engine's one install or uninstall, and
// gives the outcome an exit code; the engine runs the order and logs every step.
#include "cli/CmdObserver.h"
#include "cli/CmdTexts.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/PackageSettings.h"
#include "cli/ReleaseChoice.h"
#include "framework/SystemCodePage.h"
#include "framework/WideText.h"

namespace cli {

namespace {

// A path argument in the system code page, as the engine's file functions take it; false when
// a character has no equivalent there (it would name another folder).
bool systemPathOf(const std::string& utf8Path, std::string& systemPath) {
    return narrowToSystemCodePage(fromUtf8(utf8Path), systemPath);
}

int exitCodeOf(const Refusal& refusal) {
    switch (refusal.reason) {
        case Refusal::Reason::AcadRunning:
            return kAcadRunning;
        case Refusal::Reason::AnotherInstaller:
            return kAnotherInstallation;
        case Refusal::Reason::FolderEmpty:
        case Refusal::Reason::FolderInvalid:
        case Refusal::Reason::FolderListSeparator:
            return kBadArguments;
        case Refusal::Reason::RightsMissing:
            return kNotElevated;
        case Refusal::Reason::ChosenFolderUnsafe:
        case Refusal::Reason::ChosenFolderNotProtectable:
        case Refusal::Reason::UnsafeAncestor:
            return kUnsafeFolder;
        case Refusal::Reason::OwnedByNewerPackage:
            return kDone;
        default:
            return kFatal;
    }
}

// The end of a command that changed the machine: done, or done but with the failures logged above.
int finish(SetupLog& log, Command command, const FailureLog& failures, const std::string& where) {
    log.line(commandFinished(command, failures.empty()), where);
    return failures.empty() ? kDone : kDoneWithFailures;
}

// The outcome of an installation as an exit code, the end of the command logged.
int installed(const InstallOutcome& outcome, SetupLog& log) {
    switch (outcome.result) {
        case InstallOutcome::Result::Refused:
            if (outcome.refusal.reason == Refusal::Reason::ChosenFolderUnsafe) log.line(kProtectFolderHint);
            return exitCodeOf(outcome.refusal);
        case InstallOutcome::Result::Stopped:
            return kFatal;
        case InstallOutcome::Result::Installed:
            break;
    }
    return finish(log, Command::Install, outcome.failures, outcome.targetFolder);
}

// A Windows Installer package's installation: its settings as the package wrote them, for every
// user, the package the owner; the run waits for the package's commit or rollback.
int installForPackage(const CommandLine& line, SetupLog& log) {
    PackageSettings settings;
    std::string reason;
    if (!readPackageSettings(line.packageCode, settings, reason)) {
        log.line(kPackageSettingsRefused + fromUtf8(reason));
        return kBadArguments;
    }
    InstallRequest request;
    request.owner = {kUnattendedInstallerName, settings.productCode, settings.productVersion};
    if (!narrowToSystemCodePage(settings.folder, request.chosenFolder))
        request.chosenFolder = "?";  // refused as invalid
    int unserved = 0;
    request.releases = requestedReleases(settings.releases, unserved);
    if (unserved) {
        log.line(unservedWords(unserved));
        return kBadArguments;
    }
    request.releasesNamed = !settings.releases.empty();
    request.scope = InstallRequest::Scope::EveryUser;
    request.unsafeChosenFolder = settings.protectFolder ? InstallRequest::UnsafeChosenFolder::Protect
                                                        : InstallRequest::UnsafeChosenFolder::Refuse;
    request.holdForCommit = true;
    CmdObserver observer(OnCopyFailure::Abort);
    return installed(install(request, observer, log), log);
}

}  // namespace

int installPlugin(const CommandLine& line, SetupLog& log) {
    log.line(commandStarted(Command::Install));
    if (!line.packageCode.empty()) return installForPackage(line, log);
    InstallRequest request;
    request.owner.program = kUnattendedInstallerName;
    if (!systemPathOf(line.folder, request.chosenFolder)) request.chosenFolder = "?";  // refused as invalid
    if (!line.data.empty() && !systemPathOf(line.data, request.dataFolder)) {
        log.line(kDataUnrepresentable);
        return kBadArguments;
    }
    int unserved = 0;
    request.releases = requestedReleases(line.releases, unserved);
    if (unserved) {
        log.line(unservedWords(unserved));
        return kBadArguments;
    }
    request.releasesNamed = !line.releases.empty();
    request.scope = line.allUsers ? InstallRequest::Scope::EveryUser : InstallRequest::Scope::ThisAccount;
    request.programsEntry = !line.noProgramsEntry;
    request.unsafeChosenFolder = line.protectFolder ? InstallRequest::UnsafeChosenFolder::Protect
                                                    : InstallRequest::UnsafeChosenFolder::Refuse;
    CmdObserver observer(line.onCopyFailure);
    return installed(install(request, observer, log), log);
}

int uninstall(const CommandLine& line, SetupLog& log) {
    log.line(commandStarted(Command::Uninstall));
    UninstallRequest request;
    request.owner.program = kUnattendedInstallerName;
    request.owner.packageCode = line.packageCode;
    request.purge = line.purge;
    CmdObserver observer(OnCopyFailure::Ignore);
    UninstallOutcome outcome = ::uninstall(request, observer, log);
    if (outcome.result == UninstallOutcome::Result::Refused) return exitCodeOf(outcome.refusal);
    // A file kept because it changed since it was installed is the user's now: no failure.
    return finish(log, Command::Uninstall, outcome.failures, std::string());
}

// A package's commit or rollback of the run its install action left waiting. Nothing waiting is
// no failure: the install action failed and undid its own run, or the package had none.
int endPackageRun(const CommandLine& line, SetupLog& log) {
    log.line(commandStarted(line.command));
    PendingOutcome outcome = line.command == Command::Commit ? commitPackageRun(line.packageCode, log)
                                                             : rollBackPackageRun(line.packageCode, log);
    return outcome.failures.empty() ? kDone : kFatal;
}

int setUpForUser(const CommandLine& line, SetupLog& log) {
    std::string chosen;
    if (!systemPathOf(line.folder, chosen)) chosen = "?";
    UserSetupOutcome outcome = setUpThisUser(chosen, log);
    if (outcome.refused) return kBadArguments;
    return finish(log, Command::UserSetup, outcome.failures, outcome.targetFolder);
}

}  // namespace cli
