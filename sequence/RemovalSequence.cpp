#include "sequence/RemovalSequence.h"

#include "deploy/FolderRemoval.h"
#include "deploy/InstallLayout.h"
#include "deploy/RunningAcad.h"
#include "deploy/UninstallEntry.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"
#include "platform/Processes.h"
#include "platform/SingleInstance.h"
#include "res/Texts.h"
#include "sequence/UserStep.h"

namespace {

// Lines of the final message: enough to act on, never a wall of text.
constexpr int kMaxLeftoversShown = 10;

// The advice line for a file or folder the removal left, by what it is.
CStringW LeftoverLine(const Failure& left)
{
    const char* format = Texts::kLeftFileFormat;
    if (left.dwError == kErrorReparsePoint || Files::IsLink(left.strWhat))
        format = Texts::kLeftLinkFormat;
    else if (GetPathKind(left.strWhat) == kPathFolder)
        format = Texts::kLeftFolderFormat;
    return CStringW::FormatText(format, left.strWhat.GetString());
}

} // namespace

RemovalSequence::RemovalSequence(CAcadRegistry& record)
    : m_record(record)
{
}

ExitCode RemovalSequence::Prepare(const CString& strFolder, Reporter& reporter)
{
    // One spelling for the folder (long, full), however the program was started:
    // registrations and trusted paths are matched against it.
    // A GBK path's long form is GBK too; one GBK cannot hold is kept as given.
    CString longFull;
    m_strFolder = PathToText(Files::LongFullPathW(CStringW::FromText(strFolder)), longFull) ? longFull : strFolder;
    // Anywhere else (the distribution's Data folder, say) nothing is ours to delete.
    if (!IsInstallFolder(m_strFolder)) {
        CString text;
        text.Format(Texts::kUninstallNotInstallFolderFormat, m_strFolder.GetString());
        reporter.Tell(text, Texts::kCaptionUninstall);
        return kExitNotInstallFolder;
    }
    m_record.FindAcadReleases();
    PlanRemoval(m_record, m_strFolder, m_plan);
    return kExitDone;
}

ExitCode RemovalSequence::Check(Reporter& reporter) const
{
    // Checked at every attempt: AutoCAD holds its files and reads the registrations.
    if (IsAcadRunning()) {
        reporter.Tell(Texts::kUninstallCloseAcad, Texts::kCaptionUninstall);
        return kExitAcadRunning;
    }
    CString denied;
    if (!CanRemoveRegistrations(m_plan, denied)) {
        CString text;
        text.Format(Texts::kUninstallNeedAdminFormat, denied.GetString());
        reporter.Tell(text, Texts::kCaptionUninstall);
        return kExitNeedAdmin;
    }
    return kExitDone;
}

ExitCode RemovalSequence::Run(Reporter& reporter, const char* pszUninstaller, bool bDeferUninstaller,
                              bool* pCleanup) const
{
    const CRemovalPlan& plan = m_plan;
    CStringArrayW removed;
    FailureList acadLeft;
    FilesLeft left;
    RemoveFromAcad(plan, m_strFolder, acadLeft);
    // Every other user's entry goes at their next logon, also once the folder is gone.
    ReachEveryUser(kUserStepRemove, m_strFolder, CStringW::FromText(m_strFolder), reporter, acadLeft);
    // Anything left in AutoCAD keeps the uninstaller for another attempt.
    left.leftovers = acadLeft;
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i)
        removed.Add(CStringW::FromText("HKEY_LOCAL_MACHINE\\" + plan.m_arrRegistrations[i]));
    for (int i = 0; i < plan.m_arrProfiles.GetSize(); ++i)
        removed.Add(CStringW::FromText("TRUSTEDPATHS: HKEY_CURRENT_USER\\" + plan.m_arrProfiles[i]));
    RemoveInstallFolder(m_strFolder, left, pszUninstaller, bDeferUninstaller, &removed);
    if (pCleanup)
        *pCleanup = bDeferUninstaller && !left.bUninstallerKept;
    for (int i = 0; i < removed.GetSize(); ++i)
        reporter.Note(CStringW::FormatText(Texts::kLogRemovedFormat, removed[i].GetString()));  // planned, not left
    // Each file or folder left gets its own advice; the registry's lines have theirs.
    FailureList leftovers = acadLeft;
    for (int i = acadLeft.GetSize(); i < left.leftovers.GetSize(); ++i)
        leftovers.Add(LeftoverLine(left.leftovers[i]), left.leftovers[i].dwError);
    if (left.bNoList) {
        CString line;
        line.Format(Texts::kUninstallNoListFormat, m_strFolder.GetString());
        leftovers.Add(CStringW::FromText(line), ERROR_FILE_NOT_FOUND);
    }
    // A registration of another folder whose module is gone makes AutoCAD complain
    // at every start: the user is told, but this removal's result and its Apps &
    // Features entry follow what it left of its own.
    FailureList stale;
    FindBrokenRegistrations(m_record, m_strFolder, stale);
    CStringW notes;
    for (int i = 0; i < stale.GetSize(); ++i)
        reporter.Note(CStringW::FormatText(Texts::kLogStaleFormat, stale[i].strWhat.GetString()));
    if (!stale.IsEmpty())
        notes += CStringW::FormatText(Texts::kStaleRegistrationsFormat, stale.JoinLines(kMaxLeftoversShown).GetString());
    if (!left.kept.IsEmpty())
        notes += CStringW::FormatText(Texts::kUninstallKeptFormat, JoinLines(left.kept, kMaxLeftoversShown).GetString());
    if (!plan.m_arrDriversLeft.IsEmpty()) {
        CString drivers;
        drivers.Format(Texts::kDriverNotRestoredFormat, JoinLines(plan.m_arrDriversLeft, kMaxLeftoversShown).GetString());
        notes += CStringW::FromText(drivers);
    }

    if (!leftovers.IsEmpty()) {
        for (int i = 0; i < leftovers.GetSize(); ++i)
            reporter.Note(FailureLine(Texts::kLogLeftFormat, leftovers[i].strWhat, leftovers[i].dwError));
        const CStringW text =
            CStringW::FormatText(Texts::kUninstallLeftoversFormat, leftovers.JoinLines(kMaxLeftoversShown).GetString());
        reporter.Tell(text + notes, Texts::kCaptionUninstall);
        return kExitWriteFailed;  // the entry stays: the user can try again from Settings
    }
    if (RemoveUninstallEntry(m_strFolder)) {
        CString line;
        line.Format(Texts::kLogEntryRemovedFormat, kUninstallEntryKey);
        reporter.Note(line);
    }
    reporter.Tell(CStringW::FromText(Texts::kUninstallDone) + notes, Texts::kCaptionUninstallDone);
    return kExitDone;
}
