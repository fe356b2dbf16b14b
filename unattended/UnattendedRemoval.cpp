#include "unattended/UnattendedRemoval.h"

#include "deploy/FolderRemoval.h"
#include "deploy/UninstallEntry.h"
#include "platform/Files.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"

namespace {

// How long the copy waits for the uninstaller to end.
constexpr unsigned long kWaitMs = 60000;

} // namespace

ExitCode RunUnattendedRemoval(CAcadRegistry& record, const CString& strFolder, const char* pszExeName,
                              LogFile* pLog)
{
    LoggedReporter reporter(nullptr, pLog);
    if (!IsInstallFolder(strFolder))
        return kExitNotInstallFolder;  // nothing is ours to delete (the caller has said so)
    record.FindAcadReleases();
    CRemovalPlan plan;
    PlanRemoval(record, strFolder, plan);
    const ExitCode checked = CheckRemoval(plan, reporter);
    if (checked != kExitDone)
        return checked;
    bool cleanup = false;
    const ExitCode result = RunRemovalSequence(record, plan, strFolder, reporter, pszExeName, true, &cleanup);
    CString copy;
    if (cleanup && !HandOverRemoval(kCleanupSwitch, strFolder, "", copy)) {
        CString text;
        text.Format(Texts::kUninstallCannotStartFormat, copy.GetString());
        reporter.Note(text);  // the removal is done; only this program's file stays
    }
    return result;
}

void FinishUnattendedRemoval(const CString& strFolder, unsigned long nWaitFor)
{
    if (!IsInstallFolder(strFolder))
        return;
    Processes::WaitForEnd(nWaitFor, kWaitMs);
    const CString uninstaller = strFolder + "\\" + kUninstallerName;
    Files::Delete(uninstaller);
    RemoveEmptyInstallFolder(strFolder);
    ForgetTemporaryCopy();
}
