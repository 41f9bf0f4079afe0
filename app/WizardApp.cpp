// The application object: discovery, then the setup dialog on what it found, then exit.
#include "app/WizardApp.h"

#include "acad/Engine.h"
#include "ui/SetupDialog.h"

CWizardApp theApp;

// The class library has no hosted controls to enable and the program no help file: start-up
// is discovery, once, before any window exists, and the dialog.
bool CWizardApp::InitInstance() {
    // Held while the dialog is open, so that the unattended installer does not install
    // beside it; the dialog itself goes on as it always has.
    InstallationLock lock;
    const AcadInstallations installations = findAcadReleases();
    {
        Dlg_Setup dialog(installations);
        dialog.DoModal();  // OK, Cancel or a failed window all end the program alike
    }
    return false;  // no message loop: the process ends with the dialog
}
