// The Install and Browse commands of the setup dialog.
#include "ui/SetupDialog.h"

void Dlg_Setup::onInstall() {}

bool Dlg_Setup::runInstallation() { return false; }

void Dlg_Setup::showFinishPage() {}

void Dlg_Setup::shortenToCloseButton() {}

void Dlg_Setup::onBrowse() {}
