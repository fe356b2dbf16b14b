#include "sequence/InstallSequence.h"

#include "deploy/FolderProtection.h"
#include "deploy/InstalledFiles.h"
#include "deploy/PayloadCopier.h"
#include "deploy/PayloadLocation.h"
#include "deploy/RunningAcad.h"
#include "deploy/UninstallEntry.h"
#include "platform/BuildConstants.h"
#include "platform/Files.h"
#include "platform/FolderName.h"
#include "res/Texts.h"
#include "sequence/UserStep.h"

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
int MaxFolderLength(const CString& payload)
{
    int longest = LongestLoaderSuffix();
    if (!payload.IsEmpty()) {
        const int files = LongestInstalledPath(payload);
        if (files > longest)
            longest = files;
    }
    return kMaxPathLength - static_cast<int>(sizeof kInstallSubFolder - 1) - longest;
}

// Names every failure in one message (each has had its log line, with the
// reason, where it happened).
ExitCode TellWriteFailures(Reporter& reporter, const FailureList& failures)
{
    reporter.Tell(CStringW::FormatText(Texts::kWriteFailedFormat, failures.JoinLines(kMaxFailuresShown).GetString()),
                  Texts::kCaptionSetup);
    return kExitWriteFailed;
}

} // namespace

bool IsWithheld(int k)
{
    return g_nTargetBits == 32 && ReleaseYear(k) >= kFirstWithheldRelease;
}

void OfferedReleases(const CAcadRegistry& record, ReleaseTicks& ticked)
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

ExitCode InstallSequence::Check(const InstallChoice& choice, bool bCheckAcad, InstallPlan& plan)
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
    StripTrailingBackslash(chosen);
    // Found once; every step copies from here.
    plan.strPayload.Empty();
    FindPayloadFolder(plan.strPayload);
    // The length first: a long folder would also fail the form check (its buffer
    // is a path's), and the user should read why.
    const int maxLength = MaxFolderLength(plan.strPayload);
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
    plan.strInstallFolder = chosen + kInstallSubFolder;
    Files::MakeDir(chosen);
    Files::MakeDir(plan.strInstallFolder);
    if (GetPathKind(plan.strInstallFolder) != kPathFolder) {
        CString text;
        text.Format(Texts::kFolderNotCreatedFormat, plan.strInstallFolder.GetString());
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    for (int k = 0; k < kReleaseCount; ++k)
        plan.ticked[k] = choice.ticked[k];
    return kExitDone;
}

ExitCode InstallSequence::Run(const InstallPlan& plan)
{
    const CString& folder = plan.strInstallFolder;
    CString line;
    line.Format(Texts::kLogFolderFormat, folder.GetString());
    m_reporter.Note(line);
    // Only administrators may change what every user's AutoCAD loads from here.
    CString unprotected;
    const WinResult protectedFolder = ProtectInstallFolder(folder, unprotected);
    if (!protectedFolder)
        m_reporter.Note(FailureLine(Texts::kLogNotProtectedFormat, CStringW::FromText(unprotected),
                                    protectedFolder.Code()));

    if (!plan.strPayload.IsEmpty())
        m_reporter.BeginProgress(CountCopySteps(plan.strPayload) + kStepsAfterCopy);
    CPayloadCopier copier(folder, plan.strPayload, m_reporter);
    const bool copied = copier.CopyPayload();
    if (copied)
        copier.CopyExtendedLibrary();
    const CopyResult& copy = copier.Result();
    // Whatever was placed is recorded, also before an Abort: the uninstaller
    // removes exactly these files.
    const WinResult recorded =
        copy.arrPlaced.IsEmpty() ? WinResult() : AddInstalledFiles(folder, copy.arrPlaced);
    if (!copied)
        return plan.strPayload.IsEmpty() ? kExitPayloadMissing : kExitCopyAborted;
    m_reporter.Step();

    FailureList failures = copy.libraryFailures;
    if (!recorded) {
        const CStringW list = CStringW::FromText(folder + "\\" + kInstalledFilesName);
        failures.Add(list, recorded.Code());
        m_reporter.Note(FailureLine(Texts::kLogNotWrittenFormat, list, recorded.Code()));
    }
    m_record.SetInstallFolder(folder);
    m_record.RegisterWithAcad(plan.ticked, m_reporter, failures);
    // The registrations serve every user; the trusted path is each user's own.
    ReachEveryUser(kUserStepAdd, folder, plan.strPayload, m_reporter, failures);
    m_reporter.Step();
    m_record.InstallSupportFiles(plan.ticked, plan.strPayload, m_reporter, failures);
    m_reporter.Step();
    m_reporter.FinishProgress();

    if (!failures.IsEmpty())
        return TellWriteFailures(m_reporter, failures);
    // Listed in Apps & Features only once the installation is complete.
    const WinResult listed = WriteUninstallEntry(folder, copy.nBytes);
    if (listed) {
        line.Format(Texts::kLogEntryWrittenFormat, kUninstallEntryKey);
        m_reporter.Note(line);
    } else {
        m_reporter.Note(FailureLine(Texts::kLogEntryNotWrittenFormat, CStringW::FromText(kUninstallEntryKey),
                                    listed.Code()));
    }

    m_reporter.Tell(Texts::kInstallDone, Texts::kCaptionDone);
    m_reporter.Tell(Texts::kImportOldSettings, Texts::kCaptionDone);
    return kExitDone;
}
