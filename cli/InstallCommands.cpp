// The commands that change the machine: install (the Install button's installation, without
// questions), uninstall, and user-setup (the part of an installation that belongs to each user).
#include "cli/CmdObserver.h"
#include "cli/CmdTexts.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
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

// The chosen folder of --folder, by the rules the dialog's path field follows; false, with the
// reason logged, when they refuse it.
bool takeChosenFolder(const std::string& utf8Folder, SetupLog& log, std::string& chosen) {
    std::string typed;
    PathFieldVerdict verdict = systemPathOf(utf8Folder, typed)
                                   ? checkPathField(typed, chosen, isSystemLeadByte)
                                   : PathFieldVerdict::Invalid;
    if (verdict == PathFieldVerdict::Usable) return true;
    log.line(folderWords(verdict));
    return false;
}

// The engine has logged each failure; the end of the command says whether there were any.
int finish(SetupLog& log, Command command, const FailureLog& failures, const std::string& where) {
    log.line(commandFinished(command, failures.empty()), where);
    return failures.empty() ? kDone : kDoneWithFailures;
}

bool refuseWhileAcadRuns(SetupLog& log) {
    if (!isAcadRunning()) return false;
    log.line(kAcadRunningWords);
    return true;
}

// Before anything is written: whether this process may write every product key and AutoCAD
// folder of the selected releases (and, for every user, Active Setup's key).
bool refuseWithoutRights(SetupLog& log, const AcadInstallations& installations,
                         const ReleaseSelection& releases, bool activeSetup) {
    unsigned long error = 0;
    std::string unwritable = firstUnwritable(installations, releases, error);
    if (unwritable.empty() && activeSetup && (error = activeSetupWriteError()) != 0)
        unwritable = activeSetupKeyName();
    if (unwritable.empty()) return false;
    log.line(kNotElevatedWords, unwritable, error);
    return true;
}

// The releases named or found; nonzero exit code when there is nothing to install for.
int chooseForInstall(SetupLog& log, const AcadInstallations& installations, const CommandLine& line,
                     ReleaseChoice& choice) {
    choice = chooseReleases(installations, line.releases);
    if (choice.unserved) {
        log.line(unservedWords(choice.unserved));
        return kBadArguments;
    }
    for (int year : choice.notFound) log.line(releaseSkipped(year));
    if (choice.any()) return kDone;
    log.line(nothingToInstall());
    return kFatal;
}

}  // namespace

int installPlugin(const CommandLine& line, SetupLog& log) {
    log.line(commandStarted(Command::Install));
    std::string chosen, dataFolder;
    if (!takeChosenFolder(line.folder, log, chosen)) return kBadArguments;
    if (!line.data.empty() && !systemPathOf(line.data, dataFolder)) {
        log.line(kDataUnrepresentable);
        return kBadArguments;
    }
    if (refuseWhileAcadRuns(log)) return kAcadRunning;
    const AcadInstallations installations = findAcadReleases();
    ReleaseChoice choice;
    if (int refused = chooseForInstall(log, installations, line, choice)) return refused;
    if (refuseWithoutRights(log, installations, choice.selection, line.allUsers)) return kNotElevated;

    if (!line.protectFolder && othersMayChange(chosen)) {
        log.line(kUnsafeFolderWords, chosen);
        return kUnsafeFolder;
    }

    CmdObserver observer(line.onCopyFailure);
    Installation installation(installations, observer, log, dataFolder);
    if (line.allUsers) installation.leaveUserPartToLogon();
    if (installation.prepare(targetFolderIn(chosen)) != InstallReadiness::Ready) {
        log.line(logtexts::kNothingChanged);
        return kFatal;
    }
    if (line.protectFolder) installation.protectChosenFolder();
    if (line.noProgramsEntry) installation.leaveOutOfProgramsAndFeatures();
    if (!installation.run(choice.selection)) return installation.leftInconsistent() ? kInconsistent : kFatal;
    FailureLog failures = installation.failures();
    auto keyFailed = [&](const std::string& key, unsigned long error) {
        failures.push_back({Failure::Action::WriteKey, key, error});
        log.failures(failures, failures.size() - 1);
    };
    if (line.allUsers) {
        if (unsigned long error =
                registerActiveSetup(installation.targetFolder(), dataFolder, installation.recorder())) {
            keyFailed(activeSetupKeyName(), error);
        } else {
            log.line(logtexts::kLogonRegistered, activeSetupKeyName());
            // The installing account's own part at once; what fails waits for its next logon.
            setUpInstallingAccount(installation.targetFolder(), log);
        }
    }
    return finish(log, Command::Install, failures, installation.targetFolder());
}

int uninstall(const CommandLine& line, SetupLog& log) {
    log.line(commandStarted(Command::Uninstall));
    if (refuseWhileAcadRuns(log)) return kAcadRunning;
    const AcadInstallations installations = findAcadReleases();
    ReleaseSelection everyRelease;
    everyRelease.fill(1);
    if (refuseWithoutRights(log, installations, everyRelease, false)) return kNotElevated;
    UninstallOutcome outcome = uninstallForEveryUser(installations, line.purge, log);
    return finish(log, Command::Uninstall, outcome.failures, std::string());
}

int setUpForUser(const CommandLine& line, SetupLog& log) {
    std::string chosen;
    if (!takeChosenFolder(line.folder, log, chosen)) return kBadArguments;
    const std::string target = targetFolderIn(chosen);
    return finish(log, Command::UserSetup, ::setUpForUser(target, log).failures, target);
}

}  // namespace cli
