#include "app/TrustedPathApp.h"

#include "app/CommandLine.h"
#include "platform/LogFile.h"
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
    TrustedPathCommand command;
    const bool understood = ParseTrustedPathCommandLine(Processes::CommandLine(), command);
    LogFile log;
    if (!command.strLog.IsEmpty())
        log.Open(command.strLog);
    LoggedReporter notes(nullptr, &log);
    CString line;
    line.Format(Texts::kLogStartFormat, m_pszAppName, SETUP_VERSION_TEXT, Processes::CommandLine());
    notes.Note(line);
    if (!understood) {
        notes.Note(Texts::kTrustedPathUsage);  // nobody to show it to: it may run at logon
        m_nExitCode = kExitBadCommandLine;
    } else {
        m_nExitCode = RunUnattendedUserStep(command.bRemove ? kUserStepRemove : kUserStepAdd, command.strFolder, &log);
    }
    line.Format(Texts::kLogExitFormat, m_nExitCode);
    notes.Note(line);
    return FALSE;
}
