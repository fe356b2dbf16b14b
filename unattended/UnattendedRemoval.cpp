#include "unattended/UnattendedRemoval.h"

#include "deploy/FolderRemoval.h"
#include "deploy/InstallLayout.h"
#include "deploy/UninstallEntry.h"
#include "platform/Failure.h"
#include "platform/Files.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"

ExitCode RunUnattendedRemoval(const RemovalSequence& removal, const char* pszExeName, LogFile* pLog)
{
    LoggedReporter reporter(nullptr, pLog);
    const ExitCode checked = removal.Check(reporter);
    if (checked == kExitAcadRunning)
        return kExitBusy;  // a deployment tool tries again later
    if (checked != kExitDone)
        return checked;
    bool cleanup = false;
    const ExitCode result = removal.Run(reporter, pszExeName, true, &cleanup);
    CStringW copy;
    const WinResult started = cleanup ? HandOverRemoval(kCleanupSwitch, removal.Folder(), CStringW(), copy) : WinResult();
    if (!started)  // the removal is done; only this program's file stays
        reporter.Note(FailureLine(Texts::kUninstallCannotStartFormat, copy, started.Code()));
    return result;
}

void FinishUnattendedRemoval(const CString& strFolder, unsigned long nWaitFor, const CStringW& strIdentity)
{
    if (!IsInstallFolder(strFolder))
        return;
    WaitForUninstaller(nWaitFor);
    Files::DeleteIfSameFile(CStringW::FromText(strFolder + "\\" + kUninstallerName), strIdentity);
    RemoveEmptyInstallFolder(strFolder);
    ForgetTemporaryCopy();
}
