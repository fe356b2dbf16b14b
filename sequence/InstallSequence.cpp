#include "sequence/InstallSequence.h"

#include "deploy/FolderProtection.h"
#include "deploy/InstalledFiles.h"
#include "deploy/InstallLayout.h"
#include "deploy/PayloadCopier.h"
#include "deploy/PayloadList.h"
#include "deploy/PayloadLocation.h"
#include "deploy/RunningAcad.h"
#include "deploy/TrustedPathProgram.h"
#include "deploy/UninstallEntry.h"
#include "platform/BuildConstants.h"
#include "platform/Files.h"
#include "platform/FolderName.h"
#include "platform/FolderSecurity.h"
#include "res/Texts.h"
#include "sequence/EarlierInstall.h"
#include "sequence/UserStep.h"

namespace {

// The longest path Windows accepts, without the terminating NUL.
constexpr int kMaxPathLength = 259;
// Progress steps after the two copies: library done, registered, support files.
constexpr int kStepsAfterCopy = 3;
// Lines of the failure message: enough to act on, never a wall of text.
constexpr int kMaxFailuresShown = 8;

// The most bytes the chosen folder may have so that everything written below
// the install folder still fits a path.
int MaxFolderLength(const CStringW& payload)
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
// reason, where it happened). The advice to run as administrator is given only
// when a write was refused for want of rights.
ExitCode TellWriteFailures(Reporter& reporter, const FailureList& failures)
{
    bool denied = false;
    for (int i = 0; i < failures.GetSize(); ++i)
        denied = denied || failures[i].dwError == ERROR_ACCESS_DENIED;
    reporter.Tell(CStringW::FormatText(denied ? Texts::kWriteFailedFormat : Texts::kWriteFailedOtherFormat,
                                       failures.JoinLines(kMaxFailuresShown).GetString()),
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

bool ChosenFolderAsText(const CStringW& strFolder, CString& strText, Reporter& reporter)
{
    if (PathToText(strFolder, strText))
        return true;
    reporter.Tell(CStringW::FormatText(Texts::kFolderNotTextFormat, strFolder.GetString()), Texts::kCaptionSetup);
    return false;
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
    m_bRiskAccepted = false;  // a question answered for the folders on the way is not asked again
    if (bCheckAcad && IsAcadRunning()) {
        m_reporter.Tell(Texts::kCloseAcad, Texts::kCaptionSetup);
        return kExitAcadRunning;
    }
    // A newer version installed: the user decides (No by default); a deployment
    // tool that runs an older setup means it (noted). Another folder chosen than
    // the earlier installation's: that one stays as it is.
    EarlierInstall earlier;
    if (FindEarlierInstall(earlier)) {
        if (earlier.nVersion > g_nSetupVersion &&
            m_reporter.Ask(CStringW::FormatText(Texts::kNewerInstalledFormat,
                                                CStringW::FromText(earlier.strVersion).GetString(),
                                                CStringW::FromText(SetupVersionText()).GetString()),
                           Texts::kCaptionSetup, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES) != IDYES)
            return kExitCancelled;
        if (!Files::SameFolder(earlier.strChosenFolder, choice.strFolder))
            m_reporter.Note(CStringW::FormatText(Texts::kLogEarlierLeftFormat,
                                                 CStringW::FromText(earlier.strVersion).GetString(),
                                                 earlier.strChosenFolder.GetString()));
    }
    // An empty, too long, relative or malformed folder is refused before anything
    // is made: AutoCAD would otherwise be handed a module path it cannot load.
    CString chosen;
    if (!ChosenFolderAsText(choice.strFolder, chosen, m_reporter))
        return kExitFolderRefused;
    if (chosen.IsEmpty()) {
        m_reporter.Tell(Texts::kFolderEmpty, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    StripTrailingBackslash(chosen);
    // Found once; every step copies from here.
    plan.bListed = false;
    plan.listed.Release();
    plan.strPayload = CStringW();
    LocatePayload(plan.strPayload);
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
    // Kept as "D:" for the names below it, a drive chosen as the folder is judged
    // as its root: to Windows "D:" is that drive's current folder.
    const ExitCode safe = CheckFolderSafety(CStringW::FromText(IsBareDrive(chosen) ? chosen + "\\" : chosen),
                                            choice.bNamedOnCommandLine);
    if (safe != kExitDone)
        return safe;
    // The last check, being the longest: the folder is fine by now.
    const ExitCode listed = CheckListedPayload(plan);
    if (listed != kExitDone)
        return listed;
    plan.strInstallFolder = chosen + kInstallSubFolder;
    plan.strInstallFolderW = CStringW::FromText(plan.strInstallFolder);
    const ExitCode made = MakeFolders(chosen, choice.bNamedOnCommandLine, plan);
    if (made != kExitDone)
        return made;
    for (int k = 0; k < kReleaseCount; ++k)
        plan.ticked[k] = choice.ticked[k];
    return kExitDone;
}

ExitCode InstallSequence::CheckFolderSafety(const CStringW& strChosen, bool bNamedOnCommandLine)
{
    // Every user's AutoCAD loads what lies in the add-on's folder: on a volume
    // that keeps no access lists (FAT32, exFAT) anyone could replace it.
    if (FolderSecurity::VolumeLacksAccessLists(strChosen)) {
        m_reporter.Tell(CStringW::FormatText(Texts::kFolderNoAclFormat, strChosen.GetString()), Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    // A folder on the way that others may rename, delete or re-permit lets them
    // swap the add-on: the user decides (No by default). With nobody at the
    // keyboard only the folder an administrator named on the command line is
    // taken (the warning is noted): the default folder may have been made by
    // anyone before the run.
    CStringW atRisk, owner;
    if (!FolderSecurity::FindReplaceableFolder(strChosen, atRisk, owner))
        return kExitDone;
    return AskAboutFolderAtRisk(atRisk, owner, bNamedOnCommandLine && Files::SameFolder(atRisk, strChosen))
               ? kExitDone
               : kExitFolderRefused;
}

bool InstallSequence::AskAboutFolderAtRisk(const CStringW& strFolder, const CStringW& strOwner, bool bNamedByAdmin)
{
    const int unattended = bNamedByAdmin ? IDYES : IDNO;
    const CStringW text = CStringW::FormatText(Texts::kFolderOpenToOthersFormat, strFolder.GetString(),
                                               strOwner.IsEmpty() ? CStringW::FromText(Texts::kOwnerUnknown).GetString()
                                                                  : strOwner.GetString());
    m_bRiskAccepted =
        m_reporter.Ask(text, Texts::kCaptionSetup, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, unattended) == IDYES;
    return m_bRiskAccepted;
}

void PrepareInstall(InstallPlan& plan)
{
    ListedFiles files;
    CStringW payload;
    if (ReadPayloadList(files) == kPayloadListRead && LocatePayload(payload))
        plan.early.Start(payload, files);
    // Asked of the shell now, which loads it, and kept: not at the click.
    SharedTrustedPathFolder();
}

ExitCode InstallSequence::CheckListedPayload(InstallPlan& plan)
{
    ListedFiles files;
    const PayloadListState list = ReadPayloadList(files);
    if (list == kNoPayloadList)
        return kExitDone;  // the build's own program: whatever Data holds, as ever
    if (list == kPayloadListDamaged) {
        m_reporter.Tell(Texts::kPayloadListDamaged, Texts::kCaptionSetup);
        return kExitPayloadChanged;
    }
    if (plan.strPayload.IsEmpty()) {
        m_reporter.Tell(Texts::kPayloadMissing, Texts::kCaptionSetup);
        return kExitPayloadMissing;
    }
    PayloadDifference difference;
    bool same = plan.early.IsStartedFor(plan.strPayload) && plan.early.Take(plan.listed, difference, &m_reporter);
    // A check begun before the click that did not pass is made once more: the
    // files may still have been in the making then (an unpacking not yet done).
    if (!same)
        same = CheckPayload(plan.strPayload, files, plan.listed, difference, &m_reporter);
    if (!same) {
        const CStringW path = plan.strPayload + L"\\" + difference.listed.strRelative;
        const CStringW listedSha256 = CStringW::FromText(difference.listed.strSha256);
        if (difference.dwError != ERROR_SUCCESS)
            m_reporter.Note(FailureLine(Texts::kLogPayloadUnreadableFormat,
                                        CStringW::FormatText(Texts::kListedFileFormat, path.GetString(),
                                                             difference.listed.nSize, listedSha256.GetString()),
                                        difference.dwError));
        else
            m_reporter.Note(CStringW::FormatText(Texts::kLogPayloadDiffersFormat, path.GetString(),
                                                 difference.listed.nSize, listedSha256.GetString(),
                                                 difference.nFoundSize,
                                                 CStringW::FromText(difference.strFoundSha256).GetString()));
        m_reporter.Tell(CStringW::FormatText(Texts::kPayloadChangedFormat, path.GetString()), Texts::kCaptionSetup);
        return kExitPayloadChanged;
    }
    plan.bListed = true;
    m_reporter.Note(CStringW::FormatText(Texts::kLogPayloadCheckedFormat, files.GetSize()));
    return kExitDone;
}

ExitCode InstallSequence::MakeFolders(const CString& strChosen, bool bNamedOnCommandLine, InstallPlan& plan)
{
    // The folders the setup makes are protected in the same call that makes them.
    // An install folder that exists already is used only when administrators own
    // it (an earlier install); one that is a link is not ours to fill.
    const CStringW chosen = CStringW::FromText(strChosen);
    const CStringW& folder = plan.strInstallFolderW;
    // Someone else may make either folder between the look and the making: what
    // the call finds there already is judged as a folder that was there before.
    if (!Files::Exists(chosen) &&
        FolderSecurity::CreateWith(chosen, kProtectedFolderSddl).Code() == ERROR_ALREADY_EXISTS) {
        const ExitCode safe = CheckFolderSafety(chosen, bNamedOnCommandLine);
        if (safe != kExitDone)
            return safe;
    }
    plan.bExisted = Files::Exists(folder) ||
                    FolderSecurity::CreateWith(folder, kProtectedFolderSddl).Code() == ERROR_ALREADY_EXISTS;
    if (Files::IsLink(folder)) {
        m_reporter.Tell(CStringW::FormatText(Texts::kInstallFolderIsLinkFormat, folder.GetString()), Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    // Someone else's folder (made before the first install, say): its owner may
    // change anything in it at any time. Nothing in it is touched.
    CStringW owner;
    if (plan.bExisted && FolderSecurity::IsOwnedByOthers(folder, owner)) {
        m_reporter.Tell(CStringW::FormatText(Texts::kInstallFolderOwnedFormat, folder.GetString(),
                                             owner.IsEmpty() ? CStringW::FromText(Texts::kOwnerUnknown).GetString()
                                                             : owner.GetString()),
                        Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    // What an earlier install's folder holds keeps its own lists (the setup sets
    // none there): a file or folder in it that others could change or own, other
    // than the users' drawing library, would be loaded by every user's AutoCAD.
    CStringW entry;
    CString library;
    library.Format(kLibraryFolderFormat, "");
    if (plan.bExisted &&
        FolderSecurity::FindEntryOpenToOthers(folder, CStringW::FromText(library.Mid(1)), entry, owner)) {
        m_reporter.Tell(CStringW::FormatText(Texts::kInstallFolderEntryOpenFormat, entry.GetString(),
                                             owner.IsEmpty() ? CStringW::FromText(Texts::kOwnerUnknown).GetString()
                                                             : owner.GetString()),
                        Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    // The install folder itself, as it now stands: a folder above that lets
    // others delete what it holds (a drive root open to everyone, a chosen folder
    // made just now below one) lets them rename it away; an earlier install's
    // whose list lets others re-permit it is theirs to open again. Asked about as
    // the folders on the way are.
    if (!m_bRiskAccepted && GetPathKind(folder) == kPathFolder && FolderSecurity::IsReplaceable(folder, owner) &&
        !AskAboutFolderAtRisk(folder, owner, bNamedOnCommandLine))
        return kExitFolderRefused;
    // A folder that cannot be made (a drive letter mapped only for the user, who
    // is not the administrator running this) is refused before anything is written.
    if (GetPathKind(folder) != kPathFolder) {
        CString text;
        text.Format(Texts::kFolderNotCreatedFormat, plan.strInstallFolder.GetString());
        m_reporter.Tell(text, Texts::kCaptionSetup);
        return kExitFolderRefused;
    }
    return kExitDone;
}

ExitCode InstallSequence::Run(const InstallPlan& plan)
{
    CString line;
    line.Format(Texts::kLogFolderFormat, plan.strInstallFolder.GetString());
    m_reporter.Note(line);
    FailureList failures;
    bool libraryMade = false;
    if (!Protect(plan, failures, libraryMade))
        return TellWriteFailures(m_reporter, failures);
    unsigned long long nBytes = 0;
    const ExitCode copied = Copy(plan, libraryMade, failures, nBytes);
    if (copied != kExitDone)
        return copied;
    m_record.SetInstallFolder(plan.strInstallFolder);
    m_record.RegisterWithAcad(plan.ticked, m_reporter, failures);
    // The registrations serve every user; the trusted path is each user's own.
    // The per-user program every user runs comes from the install folder, where
    // the copy has just placed it (as packaged, when the program has the list).
    ReachEveryUser(kUserStepAdd, plan.strInstallFolder, CStringW::FromText(plan.strInstallFolder), m_reporter,
                   failures);
    m_reporter.Step();
    m_record.InstallSupportFiles(plan.ticked, plan.strPayload, m_reporter, failures,
                                 plan.bListed ? &plan.listed : nullptr);
    m_reporter.Step();
    m_reporter.FinishProgress();
    // Listed in Apps & Features only once the installation is complete.
    if (failures.IsEmpty())
        List(plan.strInstallFolder, nBytes, failures);
    if (!failures.IsEmpty())
        return TellWriteFailures(m_reporter, failures);
    m_reporter.Tell(Texts::kInstallDone, Texts::kCaptionDone);
    m_reporter.Tell(Texts::kImportOldSettings, Texts::kCaptionDone);
    return kExitDone;
}

bool InstallSequence::Protect(const InstallPlan& plan, FailureList& failures, bool& bLibraryMade)
{
    // Only administrators may change what every user's AutoCAD loads from here: a
    // folder that cannot be protected is no installation, and nothing is copied.
    // A folder made by this run has its list from the call that made it; one of
    // an earlier install gets it again on itself alone (what it holds keeps its
    // own: the users' drawings in the library among it).
    CString unprotected = plan.strInstallFolder;
    WinResult protectedFolder;
    if (plan.bExisted)
        protectedFolder = FolderSecurity::ProtectItself(plan.strInstallFolderW, kProtectedFolderSddl);
    if (protectedFolder)
        protectedFolder = MakeLibrary(plan.strInstallFolder, bLibraryMade, unprotected);
    if (!protectedFolder)
        failures.Record(m_reporter, Texts::kLogNotProtectedFormat, CStringW::FromText(unprotected),
                        protectedFolder.Code());
    return static_cast<bool>(protectedFolder);
}

ExitCode InstallSequence::Copy(const InstallPlan& plan, bool bLibraryMade, FailureList& failures,
                               unsigned long long& nBytes)
{
    const CString& folder = plan.strInstallFolder;
    if (!plan.strPayload.IsEmpty())
        m_reporter.BeginProgress(CountCopySteps(plan.strPayload) + kStepsAfterCopy);
    // Every file placed is on the list before it is placed, also before an Abort
    // or a kill: the uninstaller removes exactly these files. Without the list
    // nothing is placed.
    InstalledFilesJournal journal;
    if (!plan.strPayload.IsEmpty()) {
        const WinResult listOpen = journal.Open(folder);
        if (!listOpen) {
            failures.Record(m_reporter, Texts::kLogNotWrittenFormat,
                            plan.strInstallFolderW + L"\\" + CStringW::FromText(kInstalledFilesName), listOpen.Code());
            return TellWriteFailures(m_reporter, failures);
        }
    }
    CPayloadCopier copier(folder, plan.strPayload, m_reporter);
    copier.SetJournal(&journal);
    copier.SetListed(plan.bListed ? &plan.listed : nullptr);
    const bool copied = copier.CopyPayload();
    if (copied)
        copier.CopyExtendedLibrary();
    if (!copied)
        return plan.strPayload.IsEmpty() ? kExitPayloadMissing : kExitCopyAborted;
    m_reporter.Step();
    const CopyResult& copy = copier.Result();
    nBytes = copy.nBytes;
    for (int i = 0; i < copy.libraryFailures.GetSize(); ++i)
        failures.Add(copy.libraryFailures[i].strWhat, copy.libraryFailures[i].dwError);
    // A library made by this run is opened to users once its files are placed;
    // one that was there keeps its list, and the users' drawings theirs.
    CString library;
    const WinResult opened = bLibraryMade ? OpenLibraryToUsers(folder, library) : WinResult();
    if (!opened)
        failures.Record(m_reporter, Texts::kLogNotProtectedFormat, CStringW::FromText(library), opened.Code());
    return kExitDone;
}

void InstallSequence::List(const CString& strFolder, unsigned long long nBytes, FailureList& failures)
{
    // Without the entry deployment tools find no installation and Settings
    // cannot remove it: a write failure like any other.
    const WinResult listed = WriteUninstallEntry(strFolder, nBytes);
    if (!listed) {
        failures.Record(m_reporter, Texts::kLogEntryNotWrittenFormat,
                        CStringW::FromText(CString("HKEY_LOCAL_MACHINE\\") + kUninstallEntryKey), listed.Code());
        return;
    }
    CString line;
    line.Format(Texts::kLogEntryWrittenFormat, kUninstallEntryKey);
    m_reporter.Note(line);
}
