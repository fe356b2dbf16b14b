#include "app/WizardApp.h"

#include "acad/AcadRegistry.h"
#include "app/CommandLine.h"
#include "app/LogHeader.h"
#include "app/RequestedLog.h"
#include "app/RunFace.h"
#include "platform/Processes.h"
#include "platform/LogFile.h"
#include "platform/ProcessHardening.h"
#include "res/Texts.h"
#include "sequence/EarlierInstall.h"
#include "sequence/InstallSequence.h"
#include "sequence/LoggedReporter.h"
#include "sequence/SingleRun.h"
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
    CommandLine options;
    const bool understood = ParseCommandLine(Processes::CommandLineW(), true, options);
    const RunFace face = ChooseRunFace(options);
    // Before anything is written: a second run must not even empty the first one's log.
    const SingleRun run = TakeSingleRun();
    LogFile log;
    if (understood && !OpenRequestedLog(options, log, run.Busy(), Texts::kCaptionSetup, kSetupDefaultLog)) {
        m_nExitCode = kExitBadCommandLine;
        return FALSE;
    }
    LoggedReporter notes(nullptr, &log);
    NoteLogHeader(notes, m_pszAppName, true);
    if (log.IsOpen())
        notes.Note(CStringW::FormatText(Texts::kLogPathFormat, log.Path().GetString()));
    NoteRunFace(options, face, notes);
    // Interactively messages are shown; a silent run only logs them.
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter told(options.bSilent ? nullptr : &boxes, &log);

    if (options.bHelp) {  // asked for, also while another run goes on
        told.Tell(Texts::kSetupHelp, Texts::kCaptionSetup);
        m_nExitCode = kExitDone;
    } else if (TellSingleRun(run, told, Texts::kCaptionSetup) != kExitDone) {
        m_nExitCode = kExitBusy;
    } else if (!understood) {
        told.Tell(CStringW::FromText(Texts::kCommandLineNotUnderstood) + CStringW::FromText(Texts::kSetupHelp),
                  Texts::kCaptionSetup);
        m_nExitCode = kExitBadCommandLine;
    } else {
        theAcadRegistry.FindAcadReleases();
        NoteReleasesFound(theAcadRegistry, notes);
        if (options.bSilent) {
            m_nExitCode = RunUnattendedInstall(theAcadRegistry, options.strFolder, &log);
        } else {
            Dlg_Setup dlg(nullptr);
            EarlierInstall earlier;
            if (options.bHasFolder)
                dlg.ProposeFolder(options.strFolder);
            else if (FindEarlierInstall(earlier))
                dlg.ProposeFolder(earlier.strChosenFolder);  // an upgrade goes where the add-on is
            dlg.SetLog(log.IsOpen() ? &log : nullptr);
            dlg.DoModal();
            m_nExitCode = dlg.Result();
        }
    }
    CString line;
    line.Format(Texts::kLogExitFormat, m_nExitCode);
    notes.Note(line);
    return FALSE;
}
