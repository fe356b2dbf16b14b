#include "unattended/UnattendedInstall.h"

#include "res/Texts.h"
#include "sequence/InstallSequence.h"
#include "sequence/LoggedReporter.h"

ExitCode RunUnattendedInstall(CAcadRegistry& record, const CStringW& strFolder, LogFile* pLog)
{
    LoggedReporter reporter(nullptr, pLog);
    InstallChoice choice;
    choice.strFolder = strFolder.IsEmpty() ? CStringW::FromText(kDefaultInstallFolder) : strFolder;
    OfferedReleases(record, choice.ticked);
    bool any = false;
    for (BOOL ticked : choice.ticked)
        any = any || ticked;
    if (!any) {
        reporter.Note(Texts::kLogNoReleaseFound);
        return kExitNothingDone;
    }
    InstallSequence sequence(record, reporter);
    InstallPlan plan;
    // Nobody can close AutoCAD and click again: a running AutoCAD ends the run,
    // as "busy", which a deployment tool tries again later.
    const ExitCode checked = sequence.Check(choice, true, plan);
    if (checked == kExitAcadRunning)
        return kExitBusy;
    if (checked != kExitDone)
        return checked;
    return sequence.Run(plan);
}
