// The setup dialog: release check boxes, target folder, progress and finish page.
#pragma once

#include <string>

#include "acad/AcadReleaseTable.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class Installation;

class Dlg_Setup : public CDialog {
   public:
    // Works on what discovery found; the table outlives the dialog.
    explicit Dlg_Setup(AcadReleaseTable& releaseTable);
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
    CButton releaseBoxes[kReleaseCount];  // newest release first, as bound
    ReleaseSelection releaseChecks;
    std::wstring titleText;
    std::wstring platformText;
    CProgressCtrl progressBar;
    std::string installPath;  // in the system code page, as the file functions take it

    AcadReleaseTable& releaseTable;
    CFont titleFont;
    CFont platformFont;
};
