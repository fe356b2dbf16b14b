#include "sequence/RemovalSequence.h"

#include "deploy/FolderRemoval.h"
#include "deploy/RunningAcad.h"
#include "deploy/UninstallEntry.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/SingleInstance.h"
#include "res/Texts.h"
#include "sequence/UserStep.h"

namespace {

// Lines of the final message: enough to act on, never a wall of text.
constexpr int kMaxLeftoversShown = 10;
// The install folder's own name: the setup always installs into ...\Q-Ostrevo.
const char kInstallFolderName[] = "Q-Ostrevo";
// How long the temporary copy waits for the uninstaller that started it to end.
constexpr unsigned long kWaitForUninstallerMs = 60000;

// The advice line for a file or folder the removal left, by what it is.
CStringW LeftoverLine(const Failure& left)
{
    const CString path = CString::FromWide(left.strWhat.GetString());
    const char* format = Texts::kLeftFileFormat;
    if (Files::IsLink(path))
        format = Texts::kLeftLinkFormat;
    else if (GetPathKind(path) == kPathFolder)
        format = Texts::kLeftFolderFormat;
    return CStringW::FormatText(format, left.strWhat.GetString());
}

} // namespace

bool IsInstallFolder(const CString& strFolder)
{
    const int cut = strFolder.ReverseFind('\\');
    return cut > 0 && strFolder.Mid(cut + 1).CompareNoCase(kInstallFolderName) == 0;
}

RemovalSequence::RemovalSequence(CAcadRegistry& record)
    : m_record(record)
{
}

ExitCode RemovalSequence::Prepare(const CString& strFolder, Reporter& reporter)
{
    // One spelling for the folder (long, full), however the program was started:
    // registrations and trusted paths are matched against it.
    m_strFolder = Files::LongFullPath(strFolder);
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
    CStringArray removed;
    FailureList acadLeft;
    FilesLeft left;
    RemoveFromAcad(plan, m_strFolder, acadLeft);
    // Every other user's entry goes at their next logon, also once the folder is gone.
    ReachEveryUser(kUserStepRemove, m_strFolder, m_strFolder, reporter, acadLeft);
    // Anything left in AutoCAD keeps the uninstaller for another attempt.
    left.leftovers = acadLeft;
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i)
        removed.Add("HKEY_LOCAL_MACHINE\\" + plan.m_arrRegistrations[i]);
    for (int i = 0; i < plan.m_arrProfiles.GetSize(); ++i)
        removed.Add("TRUSTEDPATHS: HKEY_CURRENT_USER\\" + plan.m_arrProfiles[i]);
    RemoveInstallFolder(m_strFolder, left, pszUninstaller, bDeferUninstaller, &removed);
    if (pCleanup)
        *pCleanup = bDeferUninstaller && !left.bUninstallerKept;
    for (int i = 0; i < removed.GetSize(); ++i) {
        CString line;
        line.Format(Texts::kLogRemovedFormat, removed[i].GetString());
        reporter.Note(line);  // what was planned and not left over
    }
    // Each file or folder left gets its own advice; the registry's lines have theirs.
    FailureList leftovers = acadLeft;
    for (int i = acadLeft.GetSize(); i < left.leftovers.GetSize(); ++i)
        leftovers.Add(LeftoverLine(left.leftovers[i]), left.leftovers[i].dwError);
    if (left.bNoList) {
        CString line;
        line.Format(Texts::kUninstallNoListFormat, m_strFolder.GetString());
        leftovers.Add(CStringW::FromText(line), ERROR_FILE_NOT_FOUND);
    }
    // A registration left whose module is gone makes AutoCAD complain at every start.
    FindBrokenRegistrations(m_record, leftovers);
    CString notes;
    if (!left.kept.IsEmpty())
        notes.Format(Texts::kUninstallKeptFormat, left.kept.JoinLines(kMaxLeftoversShown).GetString());
    if (!plan.m_arrDriversLeft.IsEmpty()) {
        CString drivers;
        drivers.Format(Texts::kDriverNotRestoredFormat, plan.m_arrDriversLeft.JoinLines(kMaxLeftoversShown).GetString());
        notes += drivers;
    }

    if (!leftovers.IsEmpty()) {
        for (int i = 0; i < leftovers.GetSize(); ++i)
            reporter.Note(FailureLine(Texts::kLogLeftFormat, leftovers[i].strWhat, leftovers[i].dwError));
        const CStringW text =
            CStringW::FormatText(Texts::kUninstallLeftoversFormat, leftovers.JoinLines(kMaxLeftoversShown).GetString());
        reporter.Tell(text + CStringW::FromText(notes), Texts::kCaptionUninstall);
        return kExitWriteFailed;  // the entry stays: the user can try again from Settings
    }
    if (RemoveUninstallEntry(m_strFolder)) {
        CString line;
        line.Format(Texts::kLogEntryRemovedFormat, kUninstallEntryKey);
        reporter.Note(line);
    }
    reporter.Tell(CString(Texts::kUninstallDone) + notes, Texts::kCaptionUninstallDone);
    return kExitDone;
}

WinResult HandOverRemoval(const char* pszSwitch, const CString& strFolder, const char* pszLog, CString& strCopy)
{
    // A folder of its own, made for this run: an elevated program started beside
    // files that others write into the temporary folder could load a planted DLL.
    CString folder;
    folder.Format("%s\\Q-Ostrevo-Uninstall-%lu-%lu", Files::TempFolder().GetString(),
                  static_cast<unsigned long>(Processes::CurrentId()), Clock::Ticks());
    strCopy = folder + "\\" + kUninstallerName;
    WinResult result = Files::CreateFolder(folder);
    if (!result)
        return result;
    result = Files::CopyOverwrite(Files::ModulePath(), strCopy);
    if (!result) {
        Files::RemoveFolder(folder);
        return result;
    }
    CString commandLine;
    commandLine.Format("\"%s\" %s %lu \"%s\"", strCopy.GetString(), pszSwitch,
                       static_cast<unsigned long>(Processes::CurrentId()), strFolder.GetString());
    if (pszLog && *pszLog)
        commandLine += CString(" \"") + pszLog + "\"";
    // Its own folder as working folder: a process whose current folder is the
    // install folder keeps Windows from removing it. It holds this run's
    // single-run name until it ends, so no setup starts between the two.
    result = Processes::StartHolding(strCopy, commandLine, folder, SingleInstance::Held());
    if (result)
        return result;
    Files::Delete(strCopy);
    Files::RemoveFolder(folder);
    return result;
}

void WaitForUninstaller(unsigned long nId)
{
    Processes::WaitForEnd(nId, kWaitForUninstallerMs);
}

void ForgetTemporaryCopy()
{
    const CString copy = Files::ModulePath();
    Files::DeleteAtRestart(copy);
    Files::DeleteAtRestart(copy.Left(copy.ReverseFind('\\')));
}
