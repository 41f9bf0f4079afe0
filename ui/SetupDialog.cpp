// The setup dialog: layout bindings, initialisation, colours and the Install button rule.
#include "ui/SetupDialog.h"

#include "framework/BuildConstants.h"
#include "framework/Elevation.h"
#include "res/resource.h"
#include "ui/ReleaseControls.h"
#include "ui/Texts.h"

namespace {
const COLORREF kBackground = RGB(170, 210, 150);
const COLORREF kCaptionText = RGB(10, 70, 40);

// Named in UTF-16: a narrow face name would not be found on a Windows whose ANSI code page
// is not 936.
LOGFONTW captionLogFont(int height, int weight) {
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    lstrcpyW(font.lfFaceName, L"宋体");
    return font;
}
}  // namespace

Dlg_Setup::Dlg_Setup(const AcadInstallations& installations, SetupLock& lock,
                     const restart::Choices* handedOver)
    : CDialog(IDD_SETUP, nullptr),
      installPath(kDefaultChosenFolder),
      installations(installations),
      lock(lock),
      handedOver(handedOver),
      elevated(isProcessElevated()) {
    releaseChecks.fill(1);
}

Dlg_Setup::~Dlg_Setup() = default;

void Dlg_Setup::DoDataExchange(CDataExchange* dx) {
    for (const ReleaseBox& box : kReleaseBoxes) DDX_Check(dx, box.id, releaseChecks[releaseIndex(box.year)]);
    DDX_Text(dx, IDC_TITLE, titleText);
    DDX_Text(dx, IDC_PLATFORM, platformText);
    DDX_Control(dx, IDC_PROGRESS, progressBar);
    DDX_Text(dx, IDC_INSTALL_PATH, installPath);
    DDX_Control(dx, IDC_INSTALL, installButton);
}

BOOL Dlg_Setup::OnInitDialog() {
    CDialog::OnInitDialog();
    backgroundBrush.CreateSolidBrush(kBackground);
    titleFont.CreateFontIndirect(captionLogFont(14, 600));
    platformFont.CreateFontIndirect(captionLogFont(13, 400));
    setCaptions();
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP));
    if (icon) ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    applyFoundReleases();
    if (handedOver) applyHandedOverChoices();
    UpdateData(false);
    updateInstallButton();
    return TRUE;
}

void Dlg_Setup::setCaptions() {
    titleText = texts::titleCaption(buildVersion);
    platformText = texts::platformCaption(platformBits);
}

// Only releases that discovery found can be ticked; the 32 edition does not offer the
// releases that exist only as 64-bit products.
void Dlg_Setup::applyFoundReleases() {
    for (const ReleaseBox& box : kReleaseBoxes) {
        if (wasFound(installations, box.year)) continue;
        enableItem(box.id, false);
        releaseChecks[releaseIndex(box.year)] = 0;
    }
    for (const ReleaseBox& box : kReleaseBoxes) {
        if (acad::editionServes(box.year, platformBits)) continue;
        showItem(box.id, false);
        releaseChecks[releaseIndex(box.year)] = 0;
    }
}

// The instance started elevated installs at once, as a click would, when its dialog first shows:
// a message box of the installation is then owned by a visible dialog.
void Dlg_Setup::OnShowWindow(bool show) {
    if (!show) return;
    // Nothing slow before the dialog shows: the progress bar is made, and the rights behind the
    // shield are asked of Windows, once it is on the screen.
    if (!shieldAsked) {
        shieldAsked = true;
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(kAfterShown, BN_CLICKED), 0);
    }
    if (!handedOver || installStarted || !::IsWindowEnabled(GetDlgItem(IDC_INSTALL))) return;
    installStarted = true;
    ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(IDC_INSTALL)));
}

void Dlg_Setup::updateInstallButton() {
    UpdateData(true);
    bool anyTicked = false;
    for (int tick : releaseChecks) anyTicked = anyTicked || tick != 0;
    enableItem(IDC_INSTALL, anyTicked);
    if (shieldAsked) updateShield();
}

void Dlg_Setup::onReleaseClicked() { updateInstallButton(); }

bool Dlg_Setup::OnCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    for (const ReleaseBox& box : kReleaseBoxes) {
        if (id == box.id) {
            onReleaseClicked();
            return true;
        }
    }
    if (id == kAfterShown) {
        progressBar.Create(m_hWnd, IDC_PROGRESS, kProgressBarPlace, WS_BORDER);
        updateShield();
        return true;
    }
    if (id == IDC_BROWSE) {
        onBrowse();
        return true;
    }
    if (id == IDC_INSTALL) {
        onInstall();
        return true;
    }
    return false;
}

HFONT Dlg_Setup::captionFont(int id) {
    if (id == IDC_TITLE) return titleFont;
    if (id == IDC_PLATFORM) return platformFont;
    return nullptr;
}

HBRUSH Dlg_Setup::OnCtlColor(HDC dc, HWND control, UINT kind) {
    CDialog::OnCtlColor(dc, control, kind);
    int id = static_cast<int>(::GetWindowLongPtrA(control, GWLP_ID));
    ::SetTextColor(dc, RGB(0, 0, 0));
    if (id != IDC_INSTALL_PATH) ::SetBkMode(dc, TRANSPARENT);
    if (HFONT font = captionFont(id)) {
        ::SelectObject(dc, font);
        ::SetTextColor(dc, kCaptionText);
    }
    return backgroundBrush;
}
