// The Install and Browse commands of the setup dialog: one click hands the engine the path field
// and the ticks, and the dialog answers what the engine asks (ui/DialogObserver.h) and shows how
// the run ended: the finish page, the reason it was refused, or, after Abort, the end of the
// program with everything put back.
#include "framework/MessageBox.h"
#include "framework/SystemCodePage.h"
#include "res/resource.h"
#include "ui/DialogObserver.h"
#include "ui/PathDialog.h"
#include "ui/ReleaseControls.h"
#include "ui/SetupDialog.h"
#include "ui/SetupLock.h"
#include "ui/Texts.h"

void Dlg_Setup::onInstall() {
    UpdateData(true);
    // Every run is added to the user's log, for whoever supports them; a log that cannot be
    // written is no reason not to install.
    SetupLog log(userLogPath(), SetupLog::Mode::Append);
    log.header(L"SetUp.exe");
    if (!lock.ours()) {  // the dialog's own hold, let go of while a restart elevated was tried
        showMessageBox(m_hWnd, texts::kAnotherInstaller, texts::kSetupCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    InstallRequest request;
    request.owner.program = kDialogInstallerName;
    request.chosenFolder = installPath;
    request.releases = releaseChecks;
    DialogObserver observer(progressBar, acadWarningPending, [this] { showInstallingPage(); });
    InstallOutcome outcome = install(request, observer, log);
    switch (outcome.result) {
        case InstallOutcome::Result::Refused:
            return refused(outcome.refusal, log);
        case InstallOutcome::Result::Stopped:
            return stopped(outcome, log);
        case InstallOutcome::Result::Installed:
            break;
    }
    installPath = outcome.targetFolder;
    progressBar.SetPos(DialogObserver::kProgressEnd);
    std::wstring report = texts::failureReport(outcome.failures, log.usable() ? log.file() : std::wstring());
    if (!report.empty()) showMessageBox(m_hWnd, report, texts::kSetupCaption, MB_OK | MB_ICONWARNING);
    showFinishPage();
}

// Nothing was changed. The dialog stays on the selection page, the path field in focus where the
// folder was the reason; without anything to install from, the program ends with the dialog.
void Dlg_Setup::refused(const Refusal& refusal, SetupLog& log) {
    if (refusal.reason == Refusal::Reason::RightsMissing) return rightsMissing(refusal, log);
    if (refusal.reason == Refusal::Reason::Aborted)
        return CDialog::OnCancel();  // the program ends with the dialog
    std::wstring message = texts::refusal(refusal);
    if (!message.empty())
        showMessageBox(m_hWnd, message, texts::kSetupCaption,
                       refusal.reason == Refusal::Reason::AnotherInstaller ? MB_OK | MB_ICONWARNING : MB_OK);
    switch (refusal.reason) {
        case Refusal::Reason::DataFolderMissing:
        case Refusal::Reason::DataFolderUnreadable:
            return CDialog::OnCancel();  // nothing to install from: the program ends with the dialog
        case Refusal::Reason::AcadRunning:
        case Refusal::Reason::AnotherInstaller:
        case Refusal::Reason::NothingToInstall:
            return;
        default:
            ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
    }
}

// The user chose Abort (or a folder could not be protected): everything the run changed is put
// back, and the program ends with the dialog, as it always has after Abort.
void Dlg_Setup::stopped(const InstallOutcome& outcome, SetupLog& log) {
    const std::wstring logFile = log.usable() ? log.file() : std::wstring();
    if (outcome.refusal.reason == Refusal::Reason::FolderUnprotected)
        showMessageBox(m_hWnd, texts::refusal(outcome.refusal), texts::kSetupCaption, MB_OK);
    if (!outcome.notPutBack.empty())
        showMessageBox(m_hWnd, texts::notPutBack(outcome.notPutBack, logFile), texts::kSetupCaption,
                       MB_OK | MB_ICONWARNING);
    CDialog::OnCancel();
}

void Dlg_Setup::showInstallingPage() {
    showItem(IDC_PATH_LABEL, false);
    showItem(IDC_INSTALL_PATH, false);
    showItem(IDC_BROWSE, false);
    showItem(IDC_PROGRESS, true);
    progressBar.SetPos(0);
}

void Dlg_Setup::showFinishPage() {
    showItem(IDC_FINISH_TEXT, true);
    showItem(IDC_FINISH_PICTURE, true);
    showItem(IDC_COMPONENTS_LABEL, false);
    showItem(IDC_PROGRESS, false);
    showItem(IDOK, true);
    showItem(IDC_INSTALL, false);
    showItem(IDCANCEL, false);
    for (const ReleaseBox& box : kReleaseBoxes) showItem(box.id, false);
    UpdateData(false);
    shortenToCloseButton();
}

// The finish page ends at its close button: the window loses the distance between the
// bottom edges of the Cancel and the close buttons.
void Dlg_Setup::shortenToCloseButton() {
    RECT window, closeButton, cancelButton;
    ::GetWindowRect(m_hWnd, &window);
    ::GetWindowRect(GetDlgItem(IDOK), &closeButton);
    ::GetWindowRect(GetDlgItem(IDCANCEL), &cancelButton);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&closeButton), 2);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&cancelButton), 2);
    window.bottom += closeButton.bottom - cancelButton.bottom;
    ::MoveWindow(m_hWnd, window.left, window.top, window.right - window.left, window.bottom - window.top,
                 TRUE);
}

void Dlg_Setup::onBrowse() {
    UpdateData(true);
    std::string initialPath = installPath;
    CPathDialog picker(texts::kPickerPrompt, texts::kPickerPrompt, initialPath.c_str(), nullptr);
    if (picker.ShowModal() == CPathDialog::Result::Accepted) {
        installPath = picker.GetSelectedPath();
        UpdateData(false);
    }
    updateInstallButton();
}
