// The setup dialog's side of the installation: progress on the dialog's bar, failed copies
// asked about and refusals told in the installer's message boxes, owned by the dialog (or by
// whatever modal window is in front of it).
#pragma once

#include "acad/Engine.h"
#include "framework/Controls.h"

class DialogObserver : public InstallObserver {
   public:
    explicit DialogObserver(CProgressCtrl& progressBar) : progressBar(progressBar) {}

    void step() override;
    CopyAnswer copyFailed(const Failure& failure) override;
    void refused(const Refusal& refusal) override;

   private:
    CProgressCtrl& progressBar;
};
