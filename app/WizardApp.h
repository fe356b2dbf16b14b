// The application object: discovery once, then the setup dialog; the program
// ends when the dialog closes.
#pragma once

#include "framework/App.h"

class CWizardApp : public CWinApp {
public:
    CWizardApp();
    BOOL InitInstance() override;
};

extern CWizardApp theApp;
