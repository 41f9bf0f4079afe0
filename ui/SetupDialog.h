// The setup dialog: release check boxes, target folder, progress and finish page.
#pragma once

#include <string>

#include "acad/AcadReleaseTable.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class DeployJob;

class Dlg_Setup : public CDialog {
   public:
    Dlg_Setup();
    ~Dlg_Setup() override;

    void OnOK() override;
    void OnCancel() override;

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
    bool runInstallation(DeployJob& job);
    void showFinishPage();
    void shortenToCloseButton();

    void setCaptions();
    void applyFoundReleases();
    HFONT captionFont(int id);

    CBrush backgroundBrush;
    CButton releaseBoxes[kReleaseCount];  // newest release first, as bound
    ReleaseSelection releaseChecks;
    std::string titleText;
    std::string platformText;
    CProgressCtrl progressBar;
    std::string installPath;

    CFont titleFont;
    CFont platformFont;
};
