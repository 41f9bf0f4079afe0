// The setup dialog: release check boxes, target folder, progress and finish page.
#pragma once

#include <string>

#include "engine/Engine.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class SetupLock;
namespace restart {
struct Choices;
}

class Dlg_Setup : public CDialog {
   public:
    // Works on what discovery found, under the program's hold on the installation lock; both
    // outlive the dialog. An instance started elevated by another gets that one's choices
    // (null otherwise): they fill the page, and the installation starts at once.
    Dlg_Setup(const AcadInstallations& installations, SetupLock& lock, const restart::Choices* handedOver);
    ~Dlg_Setup() override;

   protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
    void OnShowWindow(bool show) override;

   private:
    void updateInstallButton();
    void onReleaseClicked();
    void onBrowse();
    void onInstall();
    void refused(const Refusal& refusal, SetupLog& log);
    void stopped(const InstallOutcome& outcome, SetupLog& log);
    void showInstallingPage();
    void showFinishPage();
    void shortenToCloseButton();

    // Administrator rights (ui/Rights.cpp).
    void applyHandedOverChoices();
    bool mayRestartElevated() const;
    bool needsElevation();
    void updateShield();
    void rightsMissing(const Refusal& refusal, SetupLog& log);
    void restartElevated(const std::string& unwritable, SetupLog& log);

    void setCaptions();
    void applyFoundReleases();
    HFONT captionFont(int id);

    CBrush backgroundBrush;
    ReleaseSelection releaseChecks;
    std::wstring titleText;
    std::wstring platformText;
    CProgressCtrl progressBar;
    std::string installPath;  // in the system code page, as the file functions take it
    CButton installButton;

    const AcadInstallations& installations;
    SetupLock& lock;
    const restart::Choices* handedOver;
    const bool elevated;                    // the process's token, which does not change
    bool installStarted = false;            // by the instance started elevated, once
    bool shieldAsked = false;               // the rights behind the shield, asked once the dialog shows
    static const int kAfterShown = 0x7F00;  // a command the dialog posts to itself once shown
    static constexpr RECT kProgressBarPlace = {13, 236, 13 + 256, 236 + 6};  // in dialog units
    // True until the running-AutoCAD warning has been shown; the warning is given only once.
    bool acadWarningPending = true;
    CFont titleFont;
    CFont platformFont;
};
