#include "uninstall/RemovalRun.h"

#include "deploy/InstallLayout.h"
#include "deploy/UninstallEntry.h"
#include "platform/LogFile.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"

int RunRemovalInCopy(const CString& strFolder, unsigned long nWaitFor, const CStringW& strLog)
{
    // Nothing is touched before the installed program has ended (its file is free then).
    if (IsInstallFolder(strFolder))
        WaitForUninstaller(nWaitFor);
    LogFile log;
    if (!strLog.IsEmpty())
        log.Open(strLog, true);
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(&boxes, &log);
    RemovalSequence removal(theAcadRegistry);
    const ExitCode prepared = removal.Prepare(strFolder, reporter);
    if (prepared != kExitDone)
        return prepared;
    const ExitCode result = removal.Run(reporter, kUninstallerName, false);
    ForgetTemporaryCopy();
    return result;
}
