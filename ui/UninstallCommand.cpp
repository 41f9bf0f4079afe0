// The uninstall command of the Programs and Features entry; see UninstallCommand.h.
#include "ui/UninstallCommand.h"

#include <windows.h>

#include "engine/Engine.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "framework/ModulePath.h"
#include "ui/Texts.h"

namespace {

void tell(const std::wstring& text, UINT icon) {
    showMessageBox(nullptr, text, texts::kSetupCaption, MB_OK | icon);
}

// The uninstallation asks nothing once confirmed: it only tells why it cannot go on.
class UninstallObserver : public EngineObserver {
   public:
    bool goOnWhileAcadRuns() override {
        tell(texts::kCloseAutoCadToUninstall, MB_ICONWARNING);
        return false;
    }
    bool protectChosenFolder(const std::string&) override { return false; }
    FailureAnswer failed(const Failure&, FailureAnswer) override { return FailureAnswer::Ignore; }
    void refused(const Refusal& refusal) override {
        switch (refusal.reason) {
            case Refusal::Reason::AcadRunning:  // told already
                return;
            case Refusal::Reason::AnotherInstaller:
                return tell(texts::kAnotherInstaller, MB_ICONWARNING);
            case Refusal::Reason::RightsMissing:
                return tell(texts::withoutRights(refusal.subject, refusal.error), MB_ICONERROR);
            default:
                return tell(texts::uninstallRefused(refusal), MB_ICONWARNING);
        }
    }
    void progress(std::size_t, std::size_t) override {}
};

// Programs and Features starts the program with the user's filtered token. It starts itself
// again elevated: the program in the plug-in's folder, where only administrators may change
// anything, not a copy a user could swap while Windows asks for consent. The elevated instance
// removes itself after the uninstallation, like the rest of the folder (engine/RemovalAfterExit.h).
void startConfirmed() {
    unsigned long error = startElevated(nullptr, moduleFileName(), restart::kConfirmedUninstall);
    if (error == ERROR_CANCELLED)
        tell(texts::uninstallDeclined(), MB_ICONWARNING);
    else if (error != ERROR_SUCCESS)
        tell(texts::uninstallNotStarted(error), MB_ICONERROR);
}

void uninstallConfirmed() {
    SetupLog log(userLogPath(), SetupLog::Mode::Append);
    log.header(L"SetUp.exe /uninstall");
    UninstallRequest request;
    request.owner.program = kDialogInstallerName;
    UninstallObserver observer;
    UninstallOutcome outcome = uninstall(request, observer, log);
    const std::wstring logFile = log.usable() ? log.file() : std::wstring();
    switch (outcome.result) {
        case UninstallOutcome::Result::Refused:
            return;  // told
        case UninstallOutcome::Result::Partly:
            return tell(texts::uninstalledPartly(outcome.failures.size(), logFile), MB_ICONWARNING);
        default:
            return tell(texts::kUninstalled, MB_ICONINFORMATION);
    }
}

}  // namespace

void runUninstall(restart::Uninstall mode) {
    if (mode == restart::Uninstall::Confirmed) return uninstallConfirmed();
    if (showMessageBox(nullptr, texts::kConfirmUninstall, texts::kSetupCaption, MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        startConfirmed();
}
