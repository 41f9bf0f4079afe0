// The installer's application object: discovery, then the setup dialog, then exit.
#pragma once

#include "framework/Application.h"

class CWizardApp : public CWinApp {
   public:
    CWizardApp() = default;
    ~CWizardApp() override = default;
    bool InitInstance() override;
};
