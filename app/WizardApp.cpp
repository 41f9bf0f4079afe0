// The application object and the process-wide release table, constructed in this order
// at static initialisation and destroyed in reverse order at exit.
#include "app/WizardApp.h"

#include "acad/AcadReleaseTable.h"
#include "ui/SetupDialog.h"

CWizardApp theApp;
AcadReleaseTable acadReleaseTable;

bool CWizardApp::InitInstance() {
    AfxEnableControlContainer();
    acadReleaseTable.findAcadReleases();
    {
        Dlg_Setup dialog;
        dialog.DoModal();  // OK, Cancel or a failed window all end the program alike
    }
    return false;  // no message loop: the process ends with the dialog
}
