#include "app/TrustedPathApp.h"

#include "app/CommandLine.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "platform/ProcessHardening.h"
#include "platform/Processes.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "unattended/UnattendedUserStep.h"
#include "version.h"

CTrustedPathApp theApp;

CTrustedPathApp::CTrustedPathApp()
    : CWinApp(nullptr)
{
}

BOOL CTrustedPathApp::InitInstance()
{
    HardenProcess();  // before anything can load a DLL
    TrustedPathCommand command;
    bool understood = ParseTrustedPathCommandLine(Processes::CommandLineW(), command);
    // It runs at logon with nobody to tell: a log that cannot be written is no
    // reason to leave the user without the trusted path.
    LogFile log;
    if (!command.strLog.IsEmpty())
        log.Open(command.strLog);
    LoggedReporter notes(nullptr, &log);
    notes.Note(CStringW::FormatText(Texts::kLogStartFormat, CStringW::FromText(m_pszAppName).GetString(),
                                    CStringW::FromText(SETUP_VERSION_TEXT).GetString(),
                                    Processes::CommandLineW().GetString()));
    // The install folder is one the setup made: GBK holds it.
    CString folder;
    understood = understood && PathToText(command.strFolder, folder);
    if (!understood) {
        notes.Note(Texts::kTrustedPathUsage);  // nobody to show it to: it may run at logon
        m_nExitCode = kExitBadCommandLine;
    } else {
        m_nExitCode = RunUnattendedUserStep(command.bRemove ? kUserStepRemove : kUserStepAdd, folder, &log);
    }
    CString line;
    line.Format(Texts::kLogExitFormat, m_nExitCode);
    notes.Note(line);
    return FALSE;
}
