// The per-user part at logon; see LogonStep.h.
#include "acad/LogonStep.h"

#include <windows.h>

#include "acad/LogonRules.h"
#include "acad/Registration.h"
#include "acad/TrustedPathRules.h"
#include "acad/UserProfiles.h"
#include "acad/UserRemoval.h"
#include "deploy/DeployRules.h"
#include "deploy/FileOperations.h"
#include "deploy/InstallRecord.h"
#include "deploy/LogTexts.h"
#include "framework/BuildConstants.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/Registry.h"
#include "framework/SystemCodePage.h"

namespace {

// The user's part of the settings file: the copy kept in the plug-in's folder goes into the
// user's own folder, unless the user has one already (their settings stay). 0, or the Windows
// error with the path it concerns.
unsigned long copyKeptSettings(const std::string& targetFolder, std::string& destination,
                               InstallRecorder& recorder) {
    const std::string kept = keptSettingsPath(targetFolder);
    destination = kept;
    if (probePath(kept) != PathIsFile) return ERROR_SUCCESS;  // shipped without one
    const std::string appData = userAppDataFolder();
    if (appData.empty()) return ERROR_PATH_NOT_FOUND;
    destination = userSettingsPath(appData, kSettingsFileName);
    if (probePath(destination) == PathIsFile) return ERROR_SUCCESS;
    if (CreateDirectoryA(userSettingsFolder(appData).c_str(), nullptr))
        recorder.folder(userSettingsFolder(appData));
    if (unsigned long error = copyOver(kept, destination)) return error;
    recorder.file(destination);
    return ERROR_SUCCESS;
}

// Whether the user has an AutoCAD profile and every one trusts the folder.
bool everyProfileTrusts(const std::string& targetFolder) {
    const std::vector<std::string> profiles = acad::profileVariablesKeys();
    const std::wstring folder = widenFromSystemCodePage(targetFolder);
    for (const std::string& variablesKey : profiles) {
        if (!acad::trustsFolder(acad::readTrustedPaths(variablesKey).text, folder, acad::upperInvariant))
            return false;
    }
    return !profiles.empty();
}

// The logon program runs at the user's next logon again: a value of the user's Run key. 0 or the
// Windows error.
unsigned long runAtNextLogon(const std::string& program) {
    RegistryKey run;
    LONG status = run.createPath(HKEY_CURRENT_USER, kUserRunKey, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS)
        status = run.writeWide(widenFromSystemCodePage(logonRunValueName()).c_str(),
                               logon::logonCommandLine(widenFromSystemCodePage(program)), REG_SZ);
    return static_cast<unsigned long>(status);
}

// Until the step is done it runs at every logon. Only an installation for every user leaves the
// program in the plug-in's folder: without it (SetUpCmd user-setup after an installation for one
// user) nothing is set to run.
unsigned long runUntilDone(const std::string& targetFolder, bool done) {
    const std::string program = path::join(targetFolder, kLogonProgramName);
    return done || probePath(program) != PathIsFile ? stopLogonRuns() : runAtNextLogon(program);
}

// Whether the machine's record says the plug-in is installed in this folder; when it says
// nothing of it (uninstalled, or only what waits for users not reached is left), the user's part
// goes. An installation in another folder is in charge of itself: nothing is done.
enum class MachineState { InstalledHere, InstalledElsewhere, Removed };
MachineState machineState(const std::string& folder) {
    InstallationRecord record;
    if (!readInstallRecord(record) || record.removal) return MachineState::Removed;
    return narrow::equalsIgnoreCase(record.targetFolder, folder) ? MachineState::InstalledHere
                                                                 : MachineState::InstalledElsewhere;
}

}  // namespace

std::string logonRunValueName() { return "TorlenBatchPrint" + std::to_string(platformBits); }

std::string logonRunValuePath() {
    return std::string("HKEY_CURRENT_USER\\") + kUserRunKey + "\\" + logonRunValueName();
}

unsigned long stopLogonRuns() {
    RegistryKey run;
    LONG status = run.openPath(HKEY_CURRENT_USER, kUserRunKey, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS) status = RegDeleteValueA(run.get(), logonRunValueName().c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<unsigned long>(status);
}

UserStepOutcome setUpForUser(const std::string& targetFolder, SetupLog& log) {
    UserStepOutcome outcome;
    InstallRecorder recorder(RecordScope::User);
    // Nothing is added that the user's record could not tell apart from what the user had.
    if (recorder.begin(targetFolder) == ERROR_SUCCESS) {
        addTrustedFolder(targetFolder, outcome.failures, &recorder);
        std::string settings;
        if (unsigned long error = copyKeptSettings(targetFolder, settings, recorder))
            outcome.failures.push_back({Failure::Action::Copy, settings, error});
    }
    if (recorder.error() != 0)
        outcome.failures.push_back(
            {Failure::Action::WriteKey, installRecordKeyName(RecordScope::User), recorder.error()});
    else
        recorder.finish();
    outcome.done = outcome.failures.empty() && everyProfileTrusts(targetFolder);
    if (unsigned long error = runUntilDone(targetFolder, outcome.done))
        outcome.failures.push_back({Failure::Action::WriteKey, logonRunValuePath(), error});
    log.failures(outcome.failures);
    log.line(outcome.done ? logtexts::kUserStepDone : logtexts::kUserStepAgainAtLogon, targetFolder);
    return outcome;
}

bool runsAsLocalSystem() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    KernelHandle owned(token);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return false;
    return IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid) != FALSE;
}

void setUpInstallingAccount(const std::string& targetFolder, SetupLog& log) {
    if (runsAsLocalSystem()) {
        log.line(logtexts::kSystemAccountSkipped);
        return;
    }
    setUpForUser(targetFolder, log);
}

int runLogonProgram() {
    const std::string program = moduleFilePath();
    const std::string folder = path::folderOf(program, isSystemLeadByte);
    SetupLog log(dialogLogPath(), SetupLog::Mode::Append);
    log.header(widenFromSystemCodePage(kLogonProgramName));
    switch (machineState(folder)) {
        case MachineState::InstalledHere: {
            UserStepOutcome outcome = setUpForUser(folder, log);
            return !outcome.failures.empty() ? 2 : outcome.done ? 0 : 1;
        }
        case MachineState::InstalledElsewhere:
            stopLogonRuns();
            log.line(logtexts::kInstalledElsewhere, folder);
            return 0;
        case MachineState::Removed:
            break;
    }
    log.line(logtexts::kUserPartRemoving, folder);
    return removeCurrentUsersPart(false, log).failures.empty() ? 0 : 2;
}
