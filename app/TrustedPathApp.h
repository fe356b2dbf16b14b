// The per-user program's application object: the per-user step for the user who
// runs it, then the program ends. It never shows a window.
#pragma once

#include "framework/App.h"

class CTrustedPathApp : public CWinApp {
public:
    CTrustedPathApp();
    BOOL InitInstance() override;
};

extern CTrustedPathApp theApp;
