// The Install and Browse commands of the setup dialog: the whole installation from one
// click, with its progress, the finish page and the folder picker.
#include "deploy/DeployJob.h"
#include "deploy/FileOperations.h"
#include "framework/MessageBox.h"
#include "framework/NarrowString.h"
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

const char* const kEmptyPathText = "安装路径无效，请输入或选择安装路径 !";
const char* const kInvalidPathFormat =
    "安装路径 %s 无效 !\n\n请输入完整的文件夹路径（以盘符开头，例如 C:\\Torlen）；文件夹名不能以空格或句点"
    "开头或结尾，也不能含有 \\ / : * ? \" < > | 等字符。";
const char* const kListSeparatorFormat =
    "安装路径 %s 含有分号（;）!\n\nAutoCAD "
    "的受信任位置以分号分隔，无法信任这样的文件夹，请选择不含分号的安装路径。";

// The message for a path field the installation cannot use; null for a usable one.
std::string pathFieldMessage(PathFieldVerdict verdict, const std::string& field) {
    switch (verdict) {
        case PathFieldVerdict::Empty:
            return kEmptyPathText;
        case PathFieldVerdict::Invalid:
            return narrow::format(kInvalidPathFormat, field.c_str());
        case PathFieldVerdict::ListSeparator:
            return narrow::format(kListSeparatorFormat, field.c_str());
        case PathFieldVerdict::Usable:
            break;
    }
    return std::string();
}
}  // namespace

void Dlg_Setup::onInstall() {
    if (acadWarningPending && isAcadRunning()) {
        showMessageBox(m_hWnd, "请关闭AutoCAD后再进行安装 !", kSetupCaption, MB_OK);
        acadWarningPending = false;
        return;
    }
    UpdateData(true);
    // Everything that can be refused is refused before anything is created: the typed path,
    // the setup data folder, and the length of every path to be written.
    std::string chosen;
    PathFieldVerdict verdict = checkPathField(installPath, chosen);
    if (verdict != PathFieldVerdict::Usable) {
        showMessageBox(m_hWnd, pathFieldMessage(verdict, installPath), kSetupCaption, MB_OK);
        ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
        return;
    }
    DeployJob job(targetFolderIn(chosen), progressBar);
    switch (job.prepare()) {
        case DeployJob::Readiness::PathTooLong:
            ::SetFocus(GetDlgItem(IDC_INSTALL_PATH));
            return;
        case DeployJob::Readiness::SourceUnusable:
            CDialog::OnCancel();  // nothing to install from: the program ends with the dialog
            return;
        case DeployJob::Readiness::Ready:
            break;
    }
    installPath = job.target();
    if (!runInstallation(job)) return;
    reportSilentFailures(m_hWnd, acadReleaseTable, job.ignoredFiles());
    showFinishPage();
}

bool Dlg_Setup::runInstallation(DeployJob& job) {
    showItem(IDC_PATH_LABEL, false);
    showItem(IDC_INSTALL_PATH, false);
    showItem(IDC_BROWSE, false);
    showItem(IDC_PROGRESS, true);
    progressBar.SetRange(0, kProgressEnd);
    progressBar.SetStep(1);
    progressBar.SetPos(0);

    // Creates the chosen and the target folder, then copies.
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
