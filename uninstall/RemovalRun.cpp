#include "uninstall/RemovalRun.h"

#include "acad/Removal.h"
#include "deploy/UninstallEntry.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"

namespace {

// How long the copy waits for the installed program to end.
constexpr unsigned long kWaitMs = 30000;

} // namespace

int RunRemoval(const CString& strFolder, unsigned long nWaitFor, const char* pszLog)
{
    const CString folder = Files::LongFullPath(strFolder);
    if (!IsInstallFolder(folder))
        return kExitNotInstallFolder;
    Processes::WaitForEnd(nWaitFor, kWaitMs);
    LogFile log;
    if (pszLog && *pszLog)
        log.Open(pszLog, true);
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(&boxes, &log);
    theAcadRegistry.FindAcadReleases();
    CRemovalPlan plan;
    PlanRemoval(theAcadRegistry, folder, plan);
    const int result = RunRemovalSequence(theAcadRegistry, plan, folder, reporter, kUninstallerName, false);
    ForgetTemporaryCopy();
    return result;
}
