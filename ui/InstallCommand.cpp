// The Install and Browse commands of the setup dialog: the whole installation from one
// click, with its progress, its log, the finish page and the folder picker.
#include "acad/Engine.h"
#include "framework/MessageBox.h"
#include "framework/SystemCodePage.h"
#include "res/resource.h"
#include "ui/DialogObserver.h"
#include "ui/PathDialog.h"
#include "ui/ReleaseControls.h"
#include "ui/SetupDialog.h"
#include "ui/SetupLock.h"
#include "ui/Texts.h"

namespace {
const int kProgressEnd = 50;

// The message for a path field the installation cannot use.
std::wstring pathFieldMessage(PathFieldVerdict verdict, const std::string& field) {
    switch (verdict) {
        case PathFieldVerdict::Invalid:
            return texts::invalidPath(field);
        case PathFieldVerdict::ListSeparator:
            return texts::listSeparatorInPath(field);
        default:
            return texts::kEmptyPath;
    }
}
}  // namespace

void Dlg_Setup::onInstall() {
    if (acadWarningPending && isAcadRunning()) {
        showMessageBox(m_hWnd, texts::kCloseAutoCad, texts::kSetupCaption, MB_OK);
        acadWarningPending = false;
        return;
    }
    UpdateData(true);
    std::string chosen;
    PathFieldVerdict verdict = checkPathField(installPath, chosen, isSystemLeadByte);
    if (verdict != PathFieldVerdict::Usable) {
        showMessageBox(m_hWnd, pathFieldMessage(verdict, installPath), texts::kSetupCaption, MB_OK);
        ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
        return;
    }
    // Every run is added to the user's log, for whoever supports them; a log that cannot be
    // written is no reason not to install.
    SetupLog log(dialogLogPath(), SetupLog::Mode::Append);
    log.header(L"SetUp.exe");
    DialogObserver observer(progressBar);
    Installation installation(installations, observer, log);
    if (!readyToInstall(installation, chosen, log)) return;
    installPath = installation.targetFolder();
    if (!runInstallation(installation)) return;
    std::wstring report =
        texts::failureReport(installation.failures(), log.usable() ? log.file() : std::wstring());
    if (!report.empty()) showMessageBox(m_hWnd, report, texts::kSetupCaption, MB_OK | MB_ICONWARNING);
    showFinishPage();
}

// Everything that can be refused is refused before anything is created: after the typed path,
// another installer at work, the setup data folder, the length of every path to be written,
// and missing rights (which may start the program again elevated).
bool Dlg_Setup::readyToInstall(Installation& installation, const std::string& chosen, SetupLog& log) {
    if (!lock.ours()) {
        log.line(texts::logAnotherInstaller());
        showMessageBox(m_hWnd, texts::kAnotherInstaller, texts::kSetupCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    switch (installation.prepare(targetFolderIn(chosen))) {
        case InstallReadiness::PathTooLong:
            ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
            return false;
        case InstallReadiness::SourceUnusable:
            CDialog::OnCancel();  // nothing to install from: the program ends with the dialog
            return false;
        case InstallReadiness::Ready:
            break;
    }
    return haveRights(log) && chosenFolderAccepted(installation, chosen);
}

// A chosen folder that exists and that others than administrators may rename, delete or take
// is not used silently: every user's AutoCAD will load the plug-in from below it. The user is
// asked once whether to protect it too, or to choose another.
bool Dlg_Setup::chosenFolderAccepted(Installation& installation, const std::string& chosen) {
    if (!othersMayChange(chosen)) return true;
    if (showMessageBox(m_hWnd, texts::protectChosenFolder(chosen), texts::kSetupCaption,
                       MB_YESNO | MB_ICONQUESTION) == IDYES) {
        installation.protectChosenFolder();
        return true;
    }
    ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
    return false;
}

bool Dlg_Setup::runInstallation(Installation& installation) {
    showItem(IDC_PATH_LABEL, false);
    showItem(IDC_INSTALL_PATH, false);
    showItem(IDC_BROWSE, false);
    showItem(IDC_PROGRESS, true);
    progressBar.SetRange(0, kProgressEnd);
    progressBar.SetStep(1);
    progressBar.SetPos(0);

    // The folders, the copies, the registration and the copies into AutoCAD's folders, each
    // followed by a step of the bar.
    if (!installation.run(releaseChecks)) {
        // The user has been told why; an earlier installation it changed is now incomplete.
        if (installation.leftInconsistent())
            showMessageBox(m_hWnd, texts::kLeftInconsistent, texts::kSetupCaption, MB_OK | MB_ICONWARNING);
        CDialog::OnCancel();  // the program ends with the dialog
        return false;
    }
    progressBar.SetPos(kProgressEnd);
    return true;
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
