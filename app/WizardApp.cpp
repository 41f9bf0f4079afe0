// The application object: discovery, then the setup dialog on what it found, then exit.
#include "app/WizardApp.h"

#include <windows.h>

#include <string>
#include <vector>

#include "engine/Engine.h"
#include "ui/RestartRules.h"
#include "ui/SetupDialog.h"
#include "ui/SetupLock.h"
#include "ui/UninstallCommand.h"

CWizardApp theApp;

// The class library has no hosted controls to enable and the program no help file: start-up
// is discovery, once, before any window exists, and the dialog. The command line is read for
// two things only: the uninstall command of the Programs and Features entry, and the choices an
// instance hands to the one it starts elevated; anything else on it is ignored.
bool CWizardApp::InitInstance() {
    // The copy an uninstallation from the plug-in's folder starts to remove the program after it.
    const std::vector<std::wstring> given = restart::splitArguments(GetCommandLineW());
    if (!given.empty() && given[0] == kRemoveAfterExitArgument) {
        finishRemovalAfterExit(given);
        return false;
    }
    if (restart::Uninstall mode = restart::readUninstall(GetCommandLineW());
        mode != restart::Uninstall::None) {
        runUninstall(mode);
        return false;
    }
    // Held while the dialog is open, so that no other installer installs beside it.
    SetupLock lock;
    restart::Choices handedOver;
    const bool restarted = restart::read(GetCommandLineW(), handedOver);
    const AcadInstallations installations = findAcadReleases();
    {
        Dlg_Setup dialog(installations, lock, restarted ? &handedOver : nullptr);
        dialog.DoModal();  // OK, Cancel or a failed window all end the program alike
    }
    return false;  // no message loop: the process ends with the dialog
}
