#include "sequence/RemovalSequence.h"

#include "deploy/FolderRemoval.h"
#include "deploy/PayloadLocation.h"
#include "deploy/UninstallEntry.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "res/Texts.h"

namespace {

// Lines of the final message: enough to act on, never a wall of text.
constexpr int kMaxLeftoversShown = 10;
// The install folder's own name: the setup always installs into ...\Q-Ostrevo.
const char kInstallFolderName[] = "Q-Ostrevo";

} // namespace

bool IsInstallFolder(const CString& strFolder)
{
    const int cut = strFolder.ReverseFind('\\');
    return cut > 0 && strFolder.Mid(cut + 1).CompareNoCase(kInstallFolderName) == 0;
}

ExitCode CheckRemoval(const CRemovalPlan& plan, Reporter& reporter)
{
    // Checked at every attempt: AutoCAD holds its files and reads the registrations.
    if (IsAcadRunning()) {
        reporter.Tell(Texts::kUninstallCloseAcad, Texts::kCaptionUninstall);
        return kExitAcadRunning;
    }
    CString denied;
    if (!CanRemoveRegistrations(plan, denied)) {
        CString text;
        text.Format(Texts::kUninstallNeedAdminFormat, denied.GetString());
        reporter.Tell(text, Texts::kCaptionUninstall);
        return kExitNeedAdmin;
    }
    return kExitDone;
}

ExitCode RunRemovalSequence(const CAcadRegistry& record, const CRemovalPlan& plan, const CString& strFolder, Reporter& reporter,
                            const char* pszUninstaller, bool bDeferUninstaller, bool* pCleanup)
{
    CStringArray removed, acadLeft;
    FilesLeft left;
    RemoveFromAcad(plan, strFolder, acadLeft);
    // Anything left in AutoCAD keeps the uninstaller for another attempt.
    for (int i = 0; i < acadLeft.GetSize(); ++i)
        left.leftovers.Add(acadLeft[i]);
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i)
        removed.Add("HKEY_LOCAL_MACHINE\\" + plan.m_arrRegistrations[i]);
    for (int i = 0; i < plan.m_arrProfiles.GetSize(); ++i)
        removed.Add("TRUSTEDPATHS: HKEY_CURRENT_USER\\" + plan.m_arrProfiles[i]);
    RemoveInstallFolder(strFolder, left, pszUninstaller, bDeferUninstaller, &removed);
    if (pCleanup)
        *pCleanup = bDeferUninstaller && !left.bUninstallerKept;
    for (int i = 0; i < removed.GetSize(); ++i) {
        CString line;
        line.Format(Texts::kLogRemovedFormat, removed[i].GetString());
        reporter.Note(line);  // what was planned and not left over
    }
    // Each file or folder left gets its own advice; the registry's lines have theirs.
    CStringArray leftovers;
    for (int i = 0; i < acadLeft.GetSize(); ++i)
        leftovers.Add(acadLeft[i]);
    for (int i = acadLeft.GetSize(); i < left.leftovers.GetSize(); ++i) {
        const CString& path = left.leftovers[i];
        CString line;
        if (Files::IsLink(path))
            line.Format(Texts::kLeftLinkFormat, path.GetString());
        else
            line.Format(GetPathKind(path) == kPathFolder ? Texts::kLeftFolderFormat : Texts::kLeftFileFormat,
                        path.GetString());
        leftovers.Add(line);
    }
    if (left.bNoList) {
        CString line;
        line.Format(Texts::kUninstallNoListFormat, strFolder.GetString());
        leftovers.Add(line);
    }
    // A registration left whose module is gone makes AutoCAD complain at every start.
    FindBrokenRegistrations(record, leftovers);
    CString notes;
    if (!left.kept.IsEmpty())
        notes.Format(Texts::kUninstallKeptFormat, left.kept.JoinLines(kMaxLeftoversShown).GetString());
    if (!plan.m_arrDriversLeft.IsEmpty()) {
        CString drivers;
        drivers.Format(Texts::kDriverNotRestoredFormat, plan.m_arrDriversLeft.JoinLines(kMaxLeftoversShown).GetString());
        notes += drivers;
    }

    if (!leftovers.IsEmpty()) {
        CString text;
        text.Format(Texts::kUninstallLeftoversFormat, leftovers.JoinLines(kMaxLeftoversShown).GetString());
        reporter.Tell(text + notes, Texts::kCaptionUninstall);
        return kExitWriteFailed;  // the entry stays: the user can try again from Settings
    }
    if (RemoveUninstallEntry(strFolder)) {
        CString line;
        line.Format(Texts::kLogEntryRemovedFormat, kUninstallEntryKey);
        reporter.Note(line);
    }
    reporter.Tell(CString(Texts::kUninstallDone) + notes, Texts::kCaptionUninstallDone);
    return kExitDone;
}

bool HandOverRemoval(const char* pszSwitch, const CString& strFolder, const char* pszLog, CString& strCopy)
{
    // A folder of its own, made for this run: an elevated program started beside
    // files that others write into the temporary folder could load a planted DLL.
    CString folder;
    folder.Format("%s\\Q-Ostrevo-Uninstall-%lu-%lu", Files::TempFolder().GetString(),
                  static_cast<unsigned long>(Processes::CurrentId()), Clock::Ticks());
    strCopy = folder + "\\" + kUninstallerName;
    if (!Files::CreateFolder(folder))
        return false;
    if (!Files::CopyOverwrite(Files::ModulePath(), strCopy)) {
        Files::RemoveFolder(folder);
        return false;
    }
    CString commandLine;
    commandLine.Format("\"%s\" %s %lu \"%s\"", strCopy.GetString(), pszSwitch,
                       static_cast<unsigned long>(Processes::CurrentId()), strFolder.GetString());
    if (pszLog && *pszLog)
        commandLine += CString(" \"") + pszLog + "\"";
    // Its own folder as working folder: a process whose current folder is the
    // install folder keeps Windows from removing it.
    if (Processes::Start(strCopy, commandLine, folder))
        return true;
    Files::Delete(strCopy);
    Files::RemoveFolder(folder);
    return false;
}

void ForgetTemporaryCopy()
{
    const CString copy = Files::ModulePath();
    Files::DeleteAtRestart(copy);
    Files::DeleteAtRestart(copy.Left(copy.ReverseFind('\\')));
}
