#include "unattended/UnattendedInstall.h"

#include "res/Texts.h"
#include "sequence/EarlierInstall.h"
#include "sequence/InstallSequence.h"
#include "sequence/LoggedReporter.h"

ExitCode RunUnattendedInstall(CAcadRegistry& record, const CStringW& strFolder, LogFile* pLog)
{
    LoggedReporter reporter(nullptr, pLog);
    InstallChoice choice;
    // Without /D=: where the add-on is installed already (an upgrade or a repair
    // stays there), else the default folder.
    EarlierInstall earlier;
    choice.strFolder = strFolder;
    choice.bNamedOnCommandLine = !strFolder.IsEmpty();
    if (strFolder.IsEmpty() && FindEarlierInstall(earlier)) {
        choice.strFolder = earlier.strChosenFolder;
        reporter.Note(CStringW::FormatText(Texts::kLogEarlierFoundFormat, CStringW::FromText(earlier.strVersion).GetString(),
                                           earlier.strChosenFolder.GetString()));
    } else if (strFolder.IsEmpty()) {
        choice.strFolder = CStringW::FromText(kDefaultInstallFolder);
    }
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
