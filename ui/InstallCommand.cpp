// The Install and Browse commands of the setup dialog: the whole installation from one
// click, with its progress, the finish page and the folder picker.
#include <direct.h>

#include "deploy/DeployJob.h"
#include "deploy/FileOperations.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "ui/AcadProcess.h"
#include "ui/FailureReport.h"
#include "ui/InstallRules.h"
#include "ui/PathDialog.h"
#include "ui/ReleaseControls.h"
#include "ui/SetupDialog.h"

namespace {
// True until the running-AutoCAD warning has been shown; the warning is given only once.
bool acadWarningPending = true;

const int kProgressEnd = 50;
}  // namespace

void Dlg_Setup::onInstall() {
    if (acadWarningPending && isAcadRunning()) {
        showMessageBox(m_hWnd, "请关闭AutoCAD后再进行安装 !", kSetupCaption, MB_OK);
        acadWarningPending = false;
        return;
    }
    UpdateData(true);
    std::string chosen = chosenFolder(installPath);
    if (chosen.empty()) {
        // Nothing to install into: say so and stay on this page; nothing has been created.
        showMessageBox(m_hWnd, "安装路径无效，请输入或选择安装路径 !", kSetupCaption, MB_OK);
        ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
        return;
    }
    installPath = targetFolderIn(chosen);
    _mkdir(chosen.c_str());  // may exist already; a missing parent shows up as copy failures
    _mkdir(installPath.c_str());
    if (!runInstallation()) return;
    reportSilentFailures(m_hWnd, acadReleaseTable);
    showFinishPage();
}

bool Dlg_Setup::runInstallation() {
    showItem(IDC_PATH_LABEL, false);
    showItem(IDC_INSTALL_PATH, false);
    showItem(IDC_BROWSE, false);
    showItem(IDC_PROGRESS, true);
    progressBar.SetRange(0, kProgressEnd);
    progressBar.SetStep(1);
    progressBar.SetPos(0);

    DeployJob job(installPath, progressBar);
    if (!job.deployProductFiles()) {
        CDialog::OnCancel();  // the user has been told why; the program ends with the dialog
        return false;
    }
    progressBar.StepIt();
    assignFolderPath(acadReleaseTable.installFolder, installPath);
    acadReleaseTable.registerReleases(releaseChecks);
    progressBar.StepIt();
    acadReleaseTable.deployToReleases(releaseChecks);
    progressBar.StepIt();
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
    for (int id : kReleaseBoxIds) showItem(id, false);
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
    const char* const prompt = "请选择安装目录：";
    std::string initialPath = installPath;
    CPathDialog picker(prompt, prompt, initialPath.c_str(), nullptr);
    if (picker.ShowModal() == 1) {
        installPath = picker.GetSelectedPath();
        UpdateData(false);
    }
    updateInstallButton();
}
