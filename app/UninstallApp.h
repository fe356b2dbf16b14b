// The uninstaller's application object: from the installed Uninstall.exe, the
// dialog; in its temporary copy (/remove), the removal itself.
#pragma once

#include "framework/App.h"

struct CommandLine;
class LogFile;
class Reporter;

class CUninstallApp : public CWinApp {
public:
    CUninstallApp();
    BOOL InitInstance() override;

private:
    // The installed program's run: the dialog, or with /S the unattended removal.
    int Uninstall(bool bUnderstood, const CommandLine& options, LogFile& log, Reporter& reporter);
};

extern CUninstallApp theApp;
