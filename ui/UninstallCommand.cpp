// The uninstall command of the Programs and Features entry; see UninstallCommand.h.
#include "ui/UninstallCommand.h"

#include <windows.h>

#include "acad/Engine.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "framework/ModulePath.h"
#include "ui/Texts.h"

namespace {

void tell(const std::wstring& text, UINT icon) { showMessageBox(nullptr, text, texts::kSetupCaption, MB_OK | icon); }

// The program runs from the plug-in's folder, which the uninstall removes, and with the user's
// filtered token, as Programs and Features starts it: a copy in the temporary folder is started
// elevated to do the work, and removed when Windows next starts.
void startConfirmedCopy() {
    const std::wstring self = moduleFileName();
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    const std::wstring copy = std::wstring(folder, length) + L"TorlenUninstall.exe";
    unsigned long error = length > 0 && length <= MAX_PATH && CopyFileW(self.c_str(), copy.c_str(), FALSE)
                              ? startElevated(nullptr, copy, restart::kConfirmedUninstall)
                              : GetLastError();
    if (error == ERROR_CANCELLED) tell(texts::uninstallDeclined(), MB_ICONWARNING);
    else if (error != ERROR_SUCCESS) tell(texts::uninstallNotStarted(error), MB_ICONERROR);
}

void uninstall() {
    InstallationLock lock;
    if (lock.heldElsewhere()) return tell(texts::kAnotherInstaller, MB_ICONWARNING);
    if (isAcadRunning()) return tell(texts::kCloseAutoCadToUninstall, MB_ICONWARNING);
    SetupLog log(dialogLogPath(), SetupLog::Mode::Append);
    log.header(L"SetUp.exe /uninstall");
    const AcadInstallations installations = findAcadReleases();
    ReleaseSelection everyRelease;
    everyRelease.fill(1);
    unsigned long error = 0;
    std::string unwritable = firstUnwritable(installations, everyRelease, error);
    if (!unwritable.empty()) return tell(texts::withoutRights(unwritable, error), MB_ICONERROR);
    UninstallOutcome outcome = uninstallForEveryUser(installations, false, log);
    const std::wstring logFile = log.usable() ? log.file() : std::wstring();
    if (outcome.failures.empty())
        tell(texts::kUninstalled, MB_ICONINFORMATION);
    else
        tell(texts::uninstalledPartly(outcome.failures.size(), logFile), MB_ICONWARNING);
}

}  // namespace

void runUninstall(restart::Uninstall mode) {
    if (mode == restart::Uninstall::Ask) {
        if (showMessageBox(nullptr, texts::kConfirmUninstall, texts::kSetupCaption, MB_YESNO | MB_ICONQUESTION) ==
            IDYES)
            startConfirmedCopy();
        return;
    }
    uninstall();
    // This copy is not needed any more; it cannot remove itself while it runs.
    MoveFileExW(moduleFileName().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
