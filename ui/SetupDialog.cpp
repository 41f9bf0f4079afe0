// The setup dialog: layout bindings, initialisation, colours and the Install button rule.
#include "ui/SetupDialog.h"

#include "framework/BuildConstants.h"
#include "framework/NarrowString.h"
#include "res/resource.h"
#include "ui/CaptionRules.h"
#include "ui/ReleaseControls.h"

namespace {
const COLORREF kBackground = RGB(170, 210, 150);
const COLORREF kCaptionText = RGB(10, 70, 40);

LOGFONTA captionLogFont(int height, int weight) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    lstrcpyA(font.lfFaceName, "宋体");
    return font;
}

// Control bindings run newest release first: 1042 down to 1028, then 1026, 1027, 1020,
// 1019, 1018.
constexpr int kBindingOrder[kReleaseCount] = {1042, 1041, 1040, 1039, 1038, 1037, 1036, 1035, 1034, 1033,
                                              1032, 1031, 1030, 1029, 1028, 1026, 1027, 1020, 1019, 1018};
}  // namespace

Dlg_Setup::Dlg_Setup() : CDialog(IDD_SETUP, nullptr), installPath("C:\\Torlen") { releaseChecks.fill(1); }

Dlg_Setup::~Dlg_Setup() = default;

void Dlg_Setup::OnOK() { CDialog::OnOK(); }

void Dlg_Setup::OnCancel() { CDialog::OnCancel(); }

void Dlg_Setup::DoDataExchange(CDataExchange* dx) {
    for (int i = 0; i < kReleaseCount; ++i) DDX_Control(dx, kBindingOrder[i], releaseBoxes[i]);
    for (int i = 0; i < kReleaseCount; ++i) DDX_Check(dx, kReleaseBoxIds[i], releaseChecks[i]);
    DDX_Text(dx, IDC_TITLE, titleText);
    DDX_Text(dx, IDC_PLATFORM, platformText);
    DDX_Control(dx, IDC_PROGRESS, progressBar);
    DDX_Text(dx, IDC_INSTALL_PATH, installPath);
}

BOOL Dlg_Setup::OnInitDialog() {
    CDialog::OnInitDialog();
    backgroundBrush.CreateSolidBrush(kBackground);
    titleFont.CreateFontIndirect(captionLogFont(14, 600));
    platformFont.CreateFontIndirect(captionLogFont(13, 400));
    setCaptions();
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP));
    if (icon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    applyFoundReleases();
    UpdateData(false);
    updateInstallButton();
    return TRUE;
}

void Dlg_Setup::setCaptions() {
    titleText = std::string("批打印软件 ") + versionText(buildVersion);
    platformText = narrow::format("( %d位 AutoCAD版 )", platformBits);
}

// Only releases that discovery found can be ticked; the 32 edition does not offer the
// releases that exist only as 64-bit products.
void Dlg_Setup::applyFoundReleases() {
    for (int i = 0; i < kReleaseCount; ++i) {
        if (acadReleaseTable.locations[i].empty()) {
            enableItem(kReleaseBoxIds[i], false);
            releaseChecks[i] = 0;
        }
    }
    if (platformBits == 32) {
        for (int i = kFirst64OnlyRelease; i < kReleaseCount; ++i) {
            showItem(kReleaseBoxIds[i], false);
            releaseChecks[i] = 0;
        }
    }
}

void Dlg_Setup::updateInstallButton() {
    UpdateData(true);
    bool anyTicked = false;
    for (int tick : releaseChecks) anyTicked = anyTicked || tick != 0;
    enableItem(IDC_INSTALL, anyTicked);
}

void Dlg_Setup::onReleaseClicked() { updateInstallButton(); }

bool Dlg_Setup::OnCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    for (int boxId : kReleaseBoxIds) {
        if (id == boxId) {
            onReleaseClicked();
            return true;
        }
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
