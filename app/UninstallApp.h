// The uninstaller's application object: from the installed Uninstall.exe, the
// dialog; in its temporary copy (/remove), the removal itself.
#pragma once

#include "framework/App.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp();
    BOOL InitInstance() override;
};

extern CUninstallApp theApp;
