// The setup dialog's side of the engine: the running-AutoCAD warning once, the question about a
// chosen folder others may change, failures asked about with Abort/Retry/Ignore, and the
// progress on the dialog's bar (the installing page shown before the first change), all in the
// installer's message boxes, owned by the dialog (or by whatever modal window is in front of it).
// Refusals are left to the dialog, which reads them in the run's outcome.
#pragma once

#include <functional>

#include "engine/Engine.h"
#include "framework/Controls.h"

class DialogObserver : public EngineObserver {
   public:
    // acadWarningPending: true until the warning about a running AutoCAD has been shown once.
    // showInstallingPage: called before the first change.
    DialogObserver(CProgressCtrl& progressBar, bool& acadWarningPending,
                   std::function<void()> showInstallingPage)
        : progressBar(progressBar),
          acadWarningPending(acadWarningPending),
          showInstallingPage(std::move(showInstallingPage)) {}

    bool goOnWhileAcadRuns() override;
    bool protectChosenFolder(const std::string& folder) override;
    FailureAnswer failed(const Failure& failure, FailureAnswer recommended) override;
    void refused(const Refusal&) override {}
    void progress(std::size_t done, std::size_t total) override;

    // The bar's range, as the dialog has always shown it.
    static const int kProgressEnd = 50;

   private:
    CProgressCtrl& progressBar;
    bool& acadWarningPending;
    std::function<void()> showInstallingPage;
    static const unsigned kRepaintIntervalMs = 40;  // 25 times a second

    int shownPosition = -1;
    unsigned long long shownAt = 0;  // when, by GetTickCount64
};
