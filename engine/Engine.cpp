// The installation engine's face; see Engine.h.
#include "engine/Engine.h"

#include "deploy/DataFolder.h"
#include "deploy/TargetFolderRules.h"
#include "engine/InstallRun.h"
#include "engine/RemovalAfterExit.h"
#include "engine/RightsCheck.h"
#include "engine/UninstallRun.h"
#include "framework/SystemCodePage.h"
#include "users/LogonStep.h"

const wchar_t* const kRemoveAfterExitArgument = kRemoveAfterExitSwitch;

InstallOutcome install(const InstallRequest& request, EngineObserver& observer, SetupLog& log) {
    return runInstallation(request, observer, log);
}

UninstallOutcome uninstall(const UninstallRequest& request, EngineObserver& observer, SetupLog& log) {
    return runUninstallation(request, observer, log);
}

std::string firstUnwritable(const AcadInstallations& installations, const ReleaseSelection& releases,
                            unsigned long& error) {
    RightsNeeded needed;
    for (const AcadInstallation& installation : selectedInstallations(installations, releases)) {
        needed.keys.push_back(installation.productKey);
        needed.folders.push_back(installation.location);
    }
    RightsGap gap = firstUnwritable(needed);
    error = gap.error;
    return gap.subject;
}

UserSetupOutcome setUpThisUser(const std::string& chosenFolder, SetupLog& log) {
    UserSetupOutcome outcome;
    std::string chosen;
    PathFieldVerdict verdict = checkPathField(chosenFolder, chosen, isSystemLeadByte);
    if (verdict != PathFieldVerdict::Usable) {
        const Refusal::Reason reason = verdict == PathFieldVerdict::Empty ? Refusal::Reason::FolderEmpty
                                       : verdict == PathFieldVerdict::ListSeparator
                                           ? Refusal::Reason::FolderListSeparator
                                           : Refusal::Reason::FolderInvalid;
        log.line(logtexts::refusalWords({reason, chosenFolder, 0}), chosenFolder);
        outcome.refused = true;
        return outcome;
    }
    outcome.targetFolder = targetFolderIn(chosen);
    UserStepOutcome step = setUpForUser(outcome.targetFolder, log);
    outcome.failures = step.failures;
    outcome.done = step.done;
    return outcome;
}
