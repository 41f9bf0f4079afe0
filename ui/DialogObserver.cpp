// The setup dialog's side of the engine; see DialogObserver.h.
#include "ui/DialogObserver.h"

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "ui/Texts.h"

namespace {
HWND owner() { return CDialog::activeModalWindow(); }
}  // namespace

// Once: the next click on Install goes on whatever runs.
bool DialogObserver::goOnWhileAcadRuns() {
    if (!acadWarningPending) return true;
    showMessageBox(owner(), texts::kCloseAutoCad, texts::kSetupCaption, MB_OK);
    acadWarningPending = false;
    return false;
}

bool DialogObserver::protectChosenFolder(const std::string& folder) {
    return showMessageBox(owner(), texts::protectChosenFolder(folder), texts::kSetupCaption,
                          MB_YESNO | MB_ICONQUESTION) == IDYES;
}

FailureAnswer DialogObserver::failed(const Failure& failure, FailureAnswer) {
    switch (showMessageBox(owner(), texts::failedStep(failure), texts::kSetupCaption, MB_ABORTRETRYIGNORE)) {
        case IDABORT:
            return FailureAnswer::Abort;
        case IDRETRY:
            return FailureAnswer::Retry;
        default:
            return FailureAnswer::Ignore;
    }
}

// The bar moves only when its position changes, at most fifty times however many files, and at a
// rate the eye can follow (every repaint of a bar on screen costs the copies time): its end is
// always shown.
void DialogObserver::progress(std::size_t done, std::size_t total) {
    if (done == 0 && shownPosition < 0) {
        showInstallingPage();
        progressBar.SetRange(0, kProgressEnd);
        progressBar.SetStep(1);
    }
    const int position = total == 0 ? kProgressEnd : static_cast<int>(done * kProgressEnd / total);
    if (position == shownPosition) return;
    const unsigned long long now = GetTickCount64();
    if (position != kProgressEnd && shownPosition >= 0 && now - shownAt < kRepaintIntervalMs) return;
    progressBar.SetPos(position);
    shownPosition = position;
    shownAt = now;
}
