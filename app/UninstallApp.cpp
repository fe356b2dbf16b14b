#include "app/UninstallApp.h"

#include "app/CommandLine.h"
#include "app/LogHeader.h"
#include "app/RequestedLog.h"
#include "app/RunFace.h"
#include "deploy/FolderRemoval.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "platform/ProcessHardening.h"
#include "platform/Processes.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"
#include "sequence/SingleRun.h"
#include "sequence/TemporaryCopy.h"
#include "uninstall/RemovalRun.h"
#include "uninstall/UninstallDialog.h"
#include "unattended/UnattendedRemoval.h"

CUninstallApp theApp;

CUninstallApp::CUninstallApp()
    : CWinApp(nullptr)
{
}

BOOL CUninstallApp::InitInstance()
{
    HardenProcess();  // before anything can load a DLL, in the temporary copy too
    // The temporary copy's own switches (read from the wide command line: the
    // folder may hold characters of any code page). The copy runs under the one
    // run of the uninstaller that started it, which handed it a handle of its own.
    CStringArrayW args;
    SplitArguments(Processes::CommandLineW(), args);
    CopyOrder order;
    if (ReadCopyOrder(args, order)) {
        m_nExitCode = RunTemporaryCopy(order);
        return FALSE;
    }

    CommandLine options;
    const bool understood = ParseCommandLine(Processes::CommandLineW(), false, options);
    const RunFace face = ChooseRunFace(options);
    // Before anything is written: a second run must not even empty the first one's log.
    const SingleRun run = TakeSingleRun();
    LogFile log;
    if (understood && !OpenRequestedLog(options, log, run.Busy(), Texts::kCaptionUninstall, kUninstallDefaultLog)) {
        m_nExitCode = kExitBadCommandLine;
        return FALSE;
    }
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(options.bSilent ? nullptr : &boxes, &log);
    NoteLogHeader(reporter, m_pszAppName, false);
    if (log.IsOpen())
        reporter.Note(CStringW::FormatText(Texts::kLogPathFormat, log.Path().GetString()));
    NoteRunFace(options, face, reporter);
    if (options.bHelp) {  // asked for, also while another run goes on
        reporter.Tell(Texts::kUninstallHelp, Texts::kCaptionUninstall);
        m_nExitCode = kExitDone;
    } else if (TellSingleRun(run, reporter, Texts::kCaptionUninstall) != kExitDone) {
        m_nExitCode = kExitBusy;
    } else {
        m_nExitCode = Uninstall(understood, options, log, reporter);
    }
    CString text;
    text.Format(Texts::kLogExitFormat, m_nExitCode);
    reporter.Note(text);
    return FALSE;
}

int CUninstallApp::Uninstall(bool bUnderstood, const CommandLine& options, LogFile& log, Reporter& reporter)
{
    if (!bUnderstood) {
        reporter.Tell(CStringW::FromText(Texts::kCommandLineNotUnderstood) + CStringW::FromText(Texts::kUninstallHelp),
                      Texts::kCaptionUninstall);
        return kExitBadCommandLine;
    }
    const CStringW moduleW = Files::LongFullPathW(Files::ModulePathW());
    CString module;
    if (!PathToText(moduleW, module)) {
        // Not a folder the setup made: it holds nothing of ours.
        reporter.Tell(CStringW::FormatText(Texts::kUninstallNotInstallFolderFormat,
                                           moduleW.Left(moduleW.ReverseFind(L'\\')).GetString()),
                      Texts::kCaptionUninstall);
        return kExitNotInstallFolder;
    }
    const int cut = module.ReverseFind('\\');
    const CString exeName = module.Mid(cut + 1);
    RemovalSequence removal(theAcadRegistry);
    const ExitCode prepared = removal.Prepare(module.Left(cut), reporter);
    if (prepared != kExitDone)
        return prepared;
    if (options.bSilent)
        return RunUnattendedRemoval(removal, exeName, &log);

    if (removal.Plan().IsEmpty() && !FolderHoldsMoreThan(removal.Folder(), exeName)) {
        CString text;
        text.Format(Texts::kUninstallNothingFormat, removal.Folder().GetString());
        reporter.Tell(text, Texts::kCaptionUninstall);
        return kExitDone;
    }
    Dlg_Uninstall dlg(removal);
    // The copy continues the log by its full path (it runs in a folder of its own).
    dlg.SetLog(log.IsOpen() ? &log : nullptr);
    dlg.DoModal();
    return dlg.Result();
}
