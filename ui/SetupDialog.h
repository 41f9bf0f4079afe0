// The setup dialog: release check boxes, target folder, progress and finish page.
#pragma once

#include <string>

#include "acad/Engine.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class Installation;

class Dlg_Setup : public CDialog {
   public:
    // Works on what discovery found, which outlives the dialog.
    explicit Dlg_Setup(const AcadInstallations& installations);
    ~Dlg_Setup() override;

   protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;

   private:
    void updateInstallButton();
    void onReleaseClicked();
    void onBrowse();
    void onInstall();
    bool runInstallation(Installation& installation);
    void showFinishPage();
    void shortenToCloseButton();

    void setCaptions();
    void applyFoundReleases();
    HFONT captionFont(int id);

    CBrush backgroundBrush;
    ReleaseSelection releaseChecks;
    std::wstring titleText;
    std::wstring platformText;
    CProgressCtrl progressBar;
    std::string installPath;  // in the system code page, as the file functions take it

    const AcadInstallations& installations;
    // True until the running-AutoCAD warning has been shown; the warning is given only once.
    bool acadWarningPending = true;
    CFont titleFont;
    CFont platformFont;
};
