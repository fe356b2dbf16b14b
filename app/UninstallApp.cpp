#include "app/UninstallApp.h"

#include <stdlib.h>

#include "app/CommandLine.h"
#include "deploy/FolderRemoval.h"
#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "platform/Processes.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"
#include "sequence/SingleRun.h"
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
    const ScopedOle ole;  // as the setup: COM on the thread that shows windows
    // The temporary copy's own switches (read from the wide command line: the
    // folder may hold characters of any code page). The copy runs under the one
    // run of the uninstaller that started it, which handed it a handle of its own.
    CStringArray args;
    SplitArguments(Processes::CommandLine(), args);
    const int argc = args.GetSize();
    if ((argc == 4 || argc == 5) && args[1] == kRemoveSwitch) {
        m_nExitCode = RunRemovalInCopy(args[3], strtoul(args[2], nullptr, 10), argc == 5 ? args[4].GetString() : "");
        return FALSE;
    }
    if (argc == 4 && args[1] == kCleanupSwitch) {
        FinishUnattendedRemoval(args[3], strtoul(args[2], nullptr, 10));
        return FALSE;
    }

    CommandLine options;
    const bool understood = ParseCommandLine(Processes::CommandLine(), false, options);
    // Before anything is written: a second run must not even empty the first one's log.
    const SingleRun run = TakeSingleRun();
    LogFile log;
    if (!options.strLog.IsEmpty())
        log.Open(options.strLog, run.Busy());
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(options.bSilent ? nullptr : &boxes, &log);
    CString text;
    text.Format(Texts::kLogStartFormat, m_pszAppName, "", Processes::CommandLine());
    reporter.Note(text);
    if (TellSingleRun(run, reporter, Texts::kCaptionUninstall) != kExitDone)
        m_nExitCode = kExitBusy;
    else
        m_nExitCode = Uninstall(understood, options, log, reporter);
    text.Format(Texts::kLogExitFormat, m_nExitCode);
    reporter.Note(text);
    return FALSE;
}

int CUninstallApp::Uninstall(bool bUnderstood, const CommandLine& options, LogFile& log, Reporter& reporter)
{
    if (!bUnderstood) {
        reporter.Tell(Texts::kUninstallUsage, Texts::kCaptionUninstall);
        return kExitBadCommandLine;
    }
    const CString module = Files::LongFullPath(Files::ModulePath());
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
    dlg.SetLog(log.IsOpen() ? &log : nullptr, &options.strLog);
    dlg.DoModal();
    return dlg.Result();
}
