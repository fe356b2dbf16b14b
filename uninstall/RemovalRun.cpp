#include "uninstall/RemovalRun.h"

#include "deploy/FolderRemoval.h"
#include "deploy/InstallLayout.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"

namespace {

// The dialog's removal: everything, told in message boxes (and the log continued).
int RemoveAll(const CopyOrder& order)
{
    LogFile log;
    if (!order.strLog.IsEmpty())
        log.Open(order.strLog, true, order.strLogIdentity);
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(&boxes, &log);
    RemovalSequence removal(theAcadRegistry);
    const ExitCode prepared = removal.Prepare(order.strFolder, reporter);
    if (prepared != kExitDone)
        return prepared;
    return removal.Run(reporter, kUninstallerName, false);
}

// The unattended removal's last steps: the uninstaller, when it is still the
// file that ran (not one a newer setup put there since), and the emptied install
// folder and its emptied parent.
int CleanUp(const CopyOrder& order)
{
    if (!IsInstallFolder(order.strFolder))
        return kExitNotInstallFolder;
    Files::DeleteIfSameFile(CStringW::FromText(order.strFolder + "\\" + kUninstallerName), order.strIdentity);
    RemoveEmptyInstallFolder(order.strFolder);
    return kExitDone;
}

} // namespace

int RunTemporaryCopy(const CopyOrder& order)
{
    const CopyRun run(order);
    return order.task == kCopyRemoves ? RemoveAll(order) : CleanUp(order);
}
