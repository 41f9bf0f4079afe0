// What the Install command does about administrator rights: the shield on Install while the
// ticked installations need rights this process lacks, the restart elevated with the user's
// choices when Install finds them missing, and the choices the elevated instance opens with.
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "framework/ModulePath.h"
#include "framework/SystemCodePage.h"
#include "res/resource.h"
#include "ui/ReleaseControls.h"
#include "ui/RestartRules.h"
#include "ui/SetupDialog.h"
#include "ui/SetupLock.h"
#include "ui/Texts.h"

// Once is enough: an instance started elevated by another never starts itself again, whatever
// its token says (one that still lacks a right would only ask the user again and again).
bool Dlg_Setup::mayRestartElevated() const { return !elevated && !handedOver; }

// Whether Install will ask for administrator rights: the write check of the engine, the one
// SetUpCmd.exe makes before it installs, over the ticked installations.
bool Dlg_Setup::needsElevation() {
    if (!mayRestartElevated()) return false;
    unsigned long error = 0;
    return !firstUnwritable(installations, releaseChecks, error).empty();
}

// The elevated instance shows the folder and the ticks the user chose in the other one, as far
// as it offers the same releases.
void Dlg_Setup::applyHandedOverChoices() {
    std::string folder;
    if (narrowToSystemCodePage(handedOver->folder, folder)) installPath = folder;
    for (const ReleaseBox& box : kReleaseBoxes) {
        std::size_t index = static_cast<std::size_t>(releaseIndex(box.year));
        if (!handedOver->releases[index]) releaseChecks[index] = 0;
    }
}

// The engine found a key or folder the ticked installations need rights for, before it changed
// anything. The program is then either started again elevated (and this instance ends), or the
// user is told which key or folder cannot be written and why.
void Dlg_Setup::rightsMissing(const Refusal& refusal, SetupLog& log) {
    if (mayRestartElevated()) return restartElevated(refusal.subject, log);
    log.line(texts::kLogElevatedWithoutRights);
    showMessageBox(m_hWnd, texts::withoutRights(refusal.subject, refusal.error), texts::kSetupCaption,
                   MB_OK | MB_ICONERROR);
}

// The shield follows the ticks; asked of Windows once the dialog shows, never before it.
void Dlg_Setup::updateShield() {
    bool anyTicked = false;
    for (int tick : releaseChecks) anyTicked = anyTicked || tick != 0;
    installButton.SetShield(anyTicked && needsElevation());
}

// The elevated instance is started by Windows, not as a child of this one: it inherits no
// handle, and waiting for this process by its id would risk an id already given to another.
// So this instance lets go of the installation lock before the start, and the new one takes
// it as any installer does. Only while Windows asks the user can another installer take it;
// the new instance then refuses to install beside it, as any second installer would.
void Dlg_Setup::restartElevated(const std::string& unwritable, SetupLog& log) {
    // The path field as the user left it: the new instance checks it as this one did.
    restart::Choices choices{widenFromSystemCodePage(installPath), releaseChecks};
    lock.release();
    unsigned long error = startElevated(m_hWnd, moduleFileName(), restart::arguments(choices));
    if (error == ERROR_SUCCESS) {
        log.line(texts::kLogRestartedElevated);
        CDialog::OnCancel();  // the elevated instance goes on: this one ends with its dialog
        return;
    }
    lock.retake();
    bool declined = error == ERROR_CANCELLED;
    log.line(declined ? texts::kLogElevationDeclined : texts::kLogRestartFailed, std::string(), error);
    showMessageBox(m_hWnd,
                   declined ? texts::elevationDeclined(unwritable) : texts::restartFailed(unwritable, error),
                   texts::kSetupCaption, MB_OK | MB_ICONWARNING);
}
