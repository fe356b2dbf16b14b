#include "uninstall/RemovalRun.h"

#include "acad/Removal.h"
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
    if (!IsInstallFolder(strFolder))
        return kExitNotInstallFolder;
    Processes::WaitForEnd(nWaitFor, kWaitMs);
    LogFile log;
    if (pszLog && *pszLog)
        log.Open(pszLog, true);
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(&boxes, &log);
    theAcadRegistry.FindAcadReleases();
    CRemovalPlan plan;
    PlanRemoval(theAcadRegistry, strFolder, plan);
    const int result = RunRemovalSequence(plan, strFolder, reporter, nullptr);
    ForgetTemporaryCopy();
    return result;
}
