#include "unattended/UnattendedRemoval.h"

#include "deploy/FolderRemoval.h"
#include "deploy/InstallLayout.h"
#include "deploy/UninstallEntry.h"
#include "platform/Failure.h"
#include "platform/Files.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"
#include "sequence/TemporaryCopy.h"

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
    const WinResult started = cleanup ? StartTemporaryCopy(kCopyCleansUp, removal.Folder(), CStringW(), CStringW(), copy) : WinResult();
    if (!started)  // the removal is done; only this program's file stays
        reporter.Note(FailureLine(Texts::kUninstallCannotStartFormat, copy, started.Code()));
    return result;
}
