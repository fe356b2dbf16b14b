#include "app/UninstallApp.h"

#include <stdlib.h>

#include "acad/Removal.h"
#include "app/CommandLine.h"
#include "platform/Com.h"
#include "deploy/FolderRemoval.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"
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
    // folder may hold characters of any code page).
    CStringArray args;
    SplitArguments(Processes::CommandLine(), args);
    const int argc = args.GetSize();
    if ((argc == 4 || argc == 5) && args[1] == kRemoveSwitch) {
        m_nExitCode = RunRemoval(args[3], strtoul(args[2], nullptr, 10), argc == 5 ? args[4].GetString() : "");
        return FALSE;
    }
    if (argc == 4 && args[1] == kCleanupSwitch) {
        FinishUnattendedRemoval(args[3], strtoul(args[2], nullptr, 10));
        return FALSE;
    }

    CommandLine options;
    const bool understood = ParseCommandLine(Processes::CommandLine(), false, options);
    LogFile log;
    if (!options.strLog.IsEmpty())
        log.Open(options.strLog);
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(options.bSilent ? nullptr : &boxes, &log);
    CString text;
    text.Format(Texts::kLogStartFormat, m_pszAppName, "", Processes::CommandLine());
    reporter.Note(text);
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
    // One spelling for the folder (long, full), however the program was started:
    // registrations and trusted paths are matched against it.
    const CString module = Files::LongFullPath(Files::ModulePath());
    const int cut = module.ReverseFind('\\');
    const CString folder = module.Left(cut);
    const CString exeName = module.Mid(cut + 1);
    CString text;
    // Anywhere else (the distribution's Data folder, say) nothing is ours to delete.
    if (!IsInstallFolder(folder)) {
        text.Format(Texts::kUninstallNotInstallFolderFormat, folder.GetString());
        reporter.Tell(text, Texts::kCaptionUninstall);
        return kExitNotInstallFolder;
    }
    if (options.bSilent)
        return RunUnattendedRemoval(theAcadRegistry, folder, exeName, &log);

    theAcadRegistry.FindAcadReleases();
    CRemovalPlan plan;
    PlanRemoval(theAcadRegistry, folder, plan);
    if (plan.IsEmpty() && !FolderHoldsMoreThan(folder, exeName)) {
        text.Format(Texts::kUninstallNothingFormat, folder.GetString());
        reporter.Tell(text, Texts::kCaptionUninstall);
        return kExitDone;
    }
    Dlg_Uninstall dlg(plan, folder);
    dlg.SetLog(log.IsOpen() ? &log : nullptr, &options.strLog);
    dlg.DoModal();
    return dlg.Result();
}
