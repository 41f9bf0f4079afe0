// The setup dialog's side of the installation; see DialogObserver.h.
#include "ui/DialogObserver.h"

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "ui/Texts.h"

void DialogObserver::step() { progressBar.StepIt(); }

InstallObserver::CopyAnswer DialogObserver::copyFailed(const Failure& failure) {
    switch (showMessageBox(CDialog::activeModalWindow(), texts::copyFailed(failure), texts::kSetupCaption,
                           MB_ABORTRETRYIGNORE)) {
        case IDABORT:
            return CopyAnswer::Abort;
        case IDRETRY:
            return CopyAnswer::Retry;
        default:
            return CopyAnswer::Ignore;
    }
}

void DialogObserver::refused(const Refusal& refusal) {
    showMessageBox(CDialog::activeModalWindow(), texts::refusal(refusal), texts::kSetupCaption, MB_OK);
}
