#include "sequence/InstallSequence.h"

#include "deploy/FolderProtection.h"
#include "deploy/InstalledFiles.h"
#include "deploy/PayloadCopier.h"
#include "deploy/PayloadLocation.h"
#include "deploy/UninstallEntry.h"
#include "picker/FolderPath.h"
#include "platform/BuildConstants.h"
#include "platform/Files.h"
#include "res/Texts.h"

namespace {

const char kInstallSubFolder[] = "\\Q-Ostrevo";
// The longest path Windows accepts, without the terminating NUL.
constexpr int kMaxPathLength = 259;
// Progress steps after the two copies: library done, registered, support files.
constexpr int kStepsAfterCopy = 3;
// Lines of the failure message: enough to act on, never a wall of text.
constexpr int kMaxFailuresShown = 8;

// The most bytes the chosen folder may have so that everything written below
// the install folder still fits a path.
int MaxFolderLength()
{
    CString payload;
    int longest = LongestLoaderSuffix();
    if (FindPayloadFolder(payload)) {
        const int files = LongestInstalledPath(payload);
        if (files > longest)
            longest = files;
    }
    return kMaxPathLength - static_cast<int>(sizeof kInstallSubFolder - 1) - longest;
}

} // namespace

bool IsWithheld(int k)
{
    return g_nTargetBits == 32 && ReleaseYear(k) >= kFirstWithheldRelease;
}

void OfferedReleases(const CAcadRegistry& record, BOOL (&ticked)[kReleaseCount])
{
    for (int k = 0; k < kReleaseCount; ++k)
        ticked[k] = record.m_arrAcadFolders[k].GetSize() > 0 && !IsWithheld(k);
}

void NoteReleasesFound(const CAcadRegistry& record, Reporter& reporter)
{
    for (int k = 0; k < kReleaseCount; ++k) {
        for (int i = 0; i < record.m_arrAcadFolders[k].GetSize(); ++i) {
            CString line;
            line.Format(Texts::kLogReleaseFormat, ReleaseYear(k), record.m_arrAcadFolders[k][i].GetString(),
                        record.m_arrProductKeys[k][i].GetString());
            reporter.Note(line);
        }
    }
}

InstallSequence::InstallSequence(CAcadRegistry& record, Reporter& reporter)
    : m_record(record), m_reporter(reporter)
{
}

void InstallSequence::NoteLines(const CStringArray& lines)
{
    for (int i = 0; i < lines.GetSize(); ++i)
        m_reporter.Note(lines[i]);
}

ExitCode InstallSequence::Check(const InstallChoice& choice, bool bCheckAcad, CString& strInstallFolder)
{
    if (bCheckAcad && IsAcadRunning()) {
        m_reporter.Tell(Texts::kCloseAcad, Texts::kCaptionSetup);
        return kExitAcadRunning;
    }
    // An empty, too long, relative or malformed folder is refused before anything
    // is made: AutoCAD would otherwise be handed a module path it cannot load.
    CString chosen = choice.strFolder;
    if (chosen.IsEmpty()) {
        m_reporter.Tell(Texts::kFolderEmpty, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    if (chosen.EndsWithChar('\\'))
        chosen.Delete(chosen.GetLength() - 1);
    // The length first: a long folder would also fail the form check (its buffer
    // is a path's), and the user should read why.
    const int maxLength = MaxFolderLength();
    if (chosen.GetLength() > maxLength) {
        CString text;
        text.Format(Texts::kFolderTooLongFormat, chosen.GetString(), maxLength);
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    if (CreateFolderPath(chosen + kInstallSubFolder, TRUE) != kFolderOk) {
        CString text;
        text.Format(Texts::kFolderInvalidFormat, chosen.GetString());
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    // Without the rights to register, nothing is installed at all: a copy that
    // AutoCAD never loads is no installation.
    // AutoCAD's folders too: an administrator may have opened AutoCAD's keys to
    // users, but not Program Files.
    CString denied;
    if (!m_record.CanRegister(choice.ticked, denied) || !m_record.CanWriteSupportFolders(choice.ticked, denied)) {
        CString text;
        text.Format(Texts::kNeedAdminFormat, denied.GetString());
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitNeedAdmin;
    }
    // A folder that cannot be made (a drive letter mapped only for the user, who
    // is not the administrator running this) is refused before anything is written.
    strInstallFolder = chosen + kInstallSubFolder;
    Files::MakeDir(chosen);
    Files::MakeDir(strInstallFolder);
    if (GetPathKind(strInstallFolder) != kPathFolder) {
        CString text;
        text.Format(Texts::kFolderNotCreatedFormat, strInstallFolder.GetString());
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    return kExitDone;
}

ExitCode InstallSequence::Run(const CString& strInstallFolder, const BOOL (&ticked)[kReleaseCount])
{
    CString line;
    line.Format(Texts::kLogFolderFormat, strInstallFolder.GetString());
    m_reporter.Note(line);
    // Only administrators may change what every user's AutoCAD loads from here.
    CString unprotected;
    if (!ProtectInstallFolder(strInstallFolder, unprotected)) {
        line.Format(Texts::kLogNotProtectedFormat, unprotected.GetString());
        m_reporter.Note(line);
    }

    CString payload;
    if (FindPayloadFolder(payload))
        m_reporter.BeginProgress(CountCopySteps(payload) + kStepsAfterCopy);
    CPayloadCopier copier(strInstallFolder, m_reporter);
    const bool copied = copier.CopyPayload();
    if (copied)
        copier.CopyExtendedLibrary();
    // Whatever was placed is recorded, also before an Abort: the uninstaller
    // removes exactly these files.
    const bool recorded = copier.m_arrPlaced.IsEmpty() || AddInstalledFiles(strInstallFolder, copier.m_arrPlaced);
    if (!copied)
        return FindPayloadFolder(payload) ? kExitCopyAborted : kExitPayloadMissing;
    m_reporter.Step();

    m_record.SetInstallFolder(strInstallFolder);
    const BOOL* t = ticked;
    m_record.RegisterWithAcad(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11],
                              t[12], t[13], t[14], t[15], t[16], t[17], t[18], t[19], t[20]);
    m_reporter.Step();
    m_record.InstallSupportFiles(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10],
                                 t[11], t[12], t[13], t[14], t[15], t[16], t[17], t[18], t[19], t[20]);
    m_reporter.Step();
    NoteLines(m_record.m_arrInstallLog);
    m_reporter.FinishProgress();

    CStringArray failures = copier.m_arrLibraryFailures;
    if (!recorded)
        failures.Add(strInstallFolder + "\\" + kInstalledFilesName);
    for (int i = 0; i < m_record.m_arrWriteFailures.GetSize(); ++i)
        failures.Add(m_record.m_arrWriteFailures[i]);
    if (!failures.IsEmpty()) {
        CString text;
        text.Format(Texts::kWriteFailedFormat, failures.JoinLines(kMaxFailuresShown).GetString());
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitWriteFailed;
    }
    // Listed in Apps & Features only once the installation is complete.
    const bool listed = WriteUninstallEntry(strInstallFolder, copier.m_nBytesCopied);
    line.Format(listed ? Texts::kLogEntryWrittenFormat : Texts::kLogEntryNotWrittenFormat, kUninstallEntryKey);
    m_reporter.Note(line);

    m_reporter.Tell(Texts::kInstallDone, Texts::kCaptionDone);
    m_reporter.Tell(Texts::kImportOldSettings, Texts::kCaptionDone);
    return kExitDone;
}
