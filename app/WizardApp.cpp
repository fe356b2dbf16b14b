#include "app/WizardApp.h"

#include "acad/AcadRegistry.h"
#include "app/CommandLine.h"
#include "app/RequestedLog.h"
#include "platform/Com.h"
#include "platform/Processes.h"
#include "platform/LogFile.h"
#include "platform/ProcessHardening.h"
#include "res/Texts.h"
#include "sequence/InstallSequence.h"
#include "sequence/LoggedReporter.h"
#include "ui/SetupDialog.h"
#include "unattended/UnattendedInstall.h"
#include "version.h"

CWizardApp theApp;

CWizardApp::CWizardApp()
    : CWinApp(nullptr)
{
}

BOOL CWizardApp::InitInstance()
{
    HardenProcess();  // before anything can load a DLL
    AfxEnableControlContainer();
    const ScopedOle ole;  // the folder browser needs COM on this thread
    CommandLine options;
    const bool understood = ParseCommandLine(Processes::CommandLineW(), true, options);
    LogFile log;
    if (understood && !OpenRequestedLog(options, log, Texts::kCaptionSetup)) {
        m_nExitCode = kExitBadCommandLine;
        return FALSE;
    }
    LoggedReporter notes(nullptr, &log);
    notes.Note(CStringW::FormatText(Texts::kLogStartFormat, CStringW::FromText(m_pszAppName).GetString(),
                                    CStringW::FromText(SETUP_VERSION_TEXT).GetString(),
                                    Processes::CommandLineW().GetString()));
    if (log.IsOpen())
        notes.Note(CStringW::FormatText(Texts::kLogPathFormat, log.Path().GetString()));
    CString line;

    if (!understood) {
        // Interactively the usage is shown; a silent run only logs it.
        WindowReporter boxes(nullptr, nullptr);
        LoggedReporter reporter(options.bSilent ? nullptr : &boxes, &log);
        reporter.Tell(Texts::kSetupUsage, Texts::kCaptionSetup);
        m_nExitCode = kExitBadCommandLine;
    } else {
        theAcadRegistry.FindAcadReleases();
        NoteReleasesFound(theAcadRegistry, notes);
        if (options.bSilent) {
            m_nExitCode = RunUnattendedInstall(theAcadRegistry, options.strFolder, &log);
        } else {
            Dlg_Setup dlg(nullptr);
            if (options.bHasFolder)
                dlg.ProposeFolder(options.strFolder);
            dlg.SetLog(log.IsOpen() ? &log : nullptr);
            dlg.DoModal();
            m_nExitCode = dlg.Result();
        }
    }
    line.Format(Texts::kLogExitFormat, m_nExitCode);
    notes.Note(line);
    return FALSE;
}
