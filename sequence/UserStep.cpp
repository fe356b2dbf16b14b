#include "sequence/UserStep.h"

#include "acad/AcadRegistry.h"
#include "acad/TrustedPaths.h"
#include "deploy/ActiveSetup.h"
#include "deploy/InstallLayout.h"
#include "deploy/PayloadLocation.h"
#include "platform/Failure.h"
#include "platform/Files.h"
#include "platform/FolderName.h"
#include "platform/UserSession.h"
#include "res/Texts.h"

namespace {

// How long the setup waits for the step it started for the person at the machine
// (it takes a moment; a dialog waits with it).
constexpr DWORD kWaitForUserStepMs = 10000;

// Notes a failure to write or delete this user's Active Setup record.
void NoteRecord(const WinResult& recorded, Reporter& reporter)
{
    if (!recorded)
        reporter.Note(FailureLine(Texts::kLogUserRecordNotWrittenFormat, CStringW::FromText(kActiveSetupKey),
                                  recorded.Code()));
}

// Writes the component alone, with a higher version (every user runs the step
// again); false (named in failures) when it could not be written.
bool WriteComponentKey(UserStepMode mode, const CString& folder, Reporter& reporter, FailureList& failures)
{
    CString line;
    CString version;
    const WinResult written = WriteActiveSetup(mode, folder, version);
    if (!written) {
        failures.Record(reporter, Texts::kLogActiveSetupNotWrittenFormat,
                        CStringW::FromText(CString("HKEY_LOCAL_MACHINE\\") + kActiveSetupKey), written.Code());
        return false;
    }
    line.Format(Texts::kLogActiveSetupWrittenFormat, kActiveSetupKey, version.GetString(),
                TrustedPathCommandLine(mode, folder).GetString());
    reporter.Note(line);
    return true;
}

// Another installation's component: only its Version rises, so that every user
// runs its step again. Its StubPath names the program that installation keeps
// (of its own version): rewriting it with this one's would name a program an
// upgrade may have deleted.
void RaiseOthersComponent(Reporter& reporter, FailureList& failures)
{
    CString version, stub;
    const WinResult raised = RaiseActiveSetupVersion(version, stub);
    if (!raised) {
        failures.Record(reporter, Texts::kLogActiveSetupNotWrittenFormat,
                        CStringW::FromText(CString("HKEY_LOCAL_MACHINE\\") + kActiveSetupKey), raised.Code());
        return;
    }
    CString line;
    line.Format(Texts::kLogActiveSetupWrittenFormat, kActiveSetupKey, version.GetString(), stub.GetString());
    reporter.Note(line);
}

// Places the copy every user runs (a removal keeps the one there) and points the
// component at it; false (named in failures) when either could not be written.
bool WriteComponent(UserStepMode mode, const CString& folder, const CStringW& source, Reporter& reporter,
                    FailureList& failures)
{
    CString line;
    if (mode == kUserStepAdd || GetPathKind(SharedTrustedPathProgram()) != kPathFile) {
        CString failed;
        const WinResult placed = PlaceSharedTrustedPathProgram(source, failed);
        if (!placed) {
            failures.Record(reporter, Texts::kLogSharedProgramNotWrittenFormat, CStringW::FromText(failed),
                            placed.Code());
            return false;  // a component must never name a program that is not there
        }
        line.Format(Texts::kLogSharedProgramFormat, SharedTrustedPathProgram().GetString());
        reporter.Note(line);
    }
    return WriteComponentKey(mode, folder, reporter, failures);
}

// The step started as the person at the machine; when it cannot be, it runs at
// their next logon (Active Setup) and the log says so.
void StartForPersonAtMachine(UserStepMode mode, const CString& folder, Reporter& reporter)
{
    const CString program = SharedTrustedPathProgram();
    const CString commandLine = TrustedPathCommandLine(mode, folder);
    DWORD exitCode = 0;
    CStringW user;
    const CStringW commandLineW = CStringW::FromText(commandLine);
    const WinResult started =
        UserSession::StartAsInteractiveUser(CStringW::FromText(program), commandLineW,
                                            CStringW::FromText(SharedTrustedPathFolder()), kWaitForUserStepMs,
                                            &exitCode, user);
    if (!started) {
        reporter.Note(FailureLine(Texts::kLogNotStartedForUserFormat, CStringW::FromText(program), started.Code()));
        return;
    }
    reporter.Note(CStringW::FormatText(Texts::kLogStartedForUserFormat, user.GetString(),
                                       commandLineW.GetString(), exitCode));
}

ExitCode AddForThisUser(const CString& folder, Reporter& reporter)
{
    if (GetPathKind(folder) != kPathFolder) {
        CString line;
        line.Format(Texts::kLogUserStepFolderGoneFormat, folder.GetString());
        reporter.Note(line);
        return kExitNothingDone;
    }
    CAcadRegistry record;
    record.SetInstallFolder(folder);
    return record.AddTrustedPath(reporter) ? kExitDone : kExitWriteFailed;
}

ExitCode RemoveForThisUser(const CString& folder, Reporter& reporter)
{
    CStringArray profiles;
    FindTrustingProfiles(folder, profiles);
    ExitCode result = kExitDone;
    for (int i = 0; i < profiles.GetSize(); ++i) {
        const CString what = "TRUSTEDPATHS: HKEY_CURRENT_USER\\" + profiles[i];
        const WinResult removed = RemoveTrustedPath(profiles[i], folder);
        if (!removed) {
            reporter.Note(FailureLine(Texts::kLogLeftFormat, CStringW::FromText(what), removed.Code()));
            result = kExitWriteFailed;
            continue;
        }
        CString line;
        line.Format(Texts::kLogRemovedFormat, what.GetString());
        reporter.Note(line);
    }
    return result;
}

// Entries of an earlier installation whose folder is gone: its removal was due at
// this user's logon when a later install's step took its place. A trusted path to
// a missing folder is one anybody may fill. Only a folder the setup could have
// made, on a drive that is there: a drive not yet connected keeps its entry.
ExitCode RemoveGoneFolders(const CString& current, Reporter& reporter)
{
    CStringArrayW entries;
    CollectTrustedPathEntries(entries);
    ExitCode result = kExitDone;
    for (int i = 0; i < entries.GetSize(); ++i) {
        CString folder;
        if (!CString::FromWideExact(entries[i].GetString(), entries[i].GetLength(), folder) ||
            !IsInstallFolder(folder) || folder.CompareNoCase(current) == 0 || !IsBelowDriveRoot(folder))
            continue;
        if (GetPathKind(folder) != kPathMissing || !Files::Exists(CStringW::FromText(folder.Left(3))))
            continue;
        if (RemoveForThisUser(folder, reporter) != kExitDone)
            result = kExitWriteFailed;
    }
    return result;
}

} // namespace

ExitCode RunUserStep(UserStepMode mode, const CString& strFolder, Reporter& reporter)
{
    // Only a folder the setup could have installed into: a full path on a drive,
    // named ...\Q-Ostrevo, without ';' (which would make two entries of one).
    if (!IsInstallFolder(strFolder) || CreateFolderPath(strFolder, TRUE) != kFolderOk) {
        CString line;
        line.Format(Texts::kLogUserStepBadFolderFormat, strFolder.GetString());
        reporter.Note(line);
        return kExitBadCommandLine;
    }
    const ExitCode gone = RemoveGoneFolders(strFolder, reporter);
    if (mode == kUserStepRemove) {
        const ExitCode removed = RemoveForThisUser(strFolder, reporter);
        NoteRecord(RecordUserStepDone(strFolder), reporter);
        return removed != kExitDone ? removed : gone;
    }
    ExitCode added = AddForThisUser(strFolder, reporter);
    if (added == kExitDone)
        added = gone;
    if (added == kExitDone || added == kExitWriteFailed)
        NoteRecord(RecordUserStepDone(strFolder), reporter);
    return added;
}

void ReachEveryUser(UserStepMode mode, const CString& strFolder, const CStringW& strSource, Reporter& reporter,
                    FailureList& failures)
{
    const UserSession::Who who = UserSession::WhoRunsThis();
    const bool here = who == UserSession::kInteractiveUser || who == UserSession::kCannotTell;
    bool component = true;
    if (mode == kUserStepAdd) {
        component = WriteComponent(kUserStepAdd, strFolder, strSource, reporter, failures);
    } else {
        UserStepMode current = kUserStepAdd;
        const CString owner = ActiveSetupFolder(&current);
        // Another installation's component stays theirs, with a higher version:
        // every user runs its step again, which takes out this folder's entries
        // once the folder is gone. None means no user got the step from one.
        if (!owner.IsEmpty() && !Files::SameFolder(CStringW::FromText(owner), CStringW::FromText(strFolder))) {
            CString line;
            line.Format(Texts::kLogActiveSetupOtherFolderFormat, owner.GetString(), strFolder.GetString());
            reporter.Note(line);
            RaiseOthersComponent(reporter, failures);
        } else if (!owner.IsEmpty()) {
            component = WriteComponent(kUserStepRemove, strFolder, strSource, reporter, failures);
        }
        NoteRecord(RecordUserStepDone(strFolder), reporter);
    }

    if (here) {
        reporter.Note(who == UserSession::kInteractiveUser ? Texts::kLogUserStepHere : Texts::kLogUserStepCannotTell);
        if (mode == kUserStepAdd)
            RunUserStep(kUserStepAdd, strFolder, reporter);  // a profile left alone is no failure:
                                                             // AutoCAD then asks before loading
        return;
    }
    // Its own HKEY_CURRENT_USER is SYSTEM's or another administrator's: no user
    // of the machine would see an entry there.
    if (mode == kUserStepAdd)
        reporter.Note(CStringW::FormatText(
            Texts::kLogUserStepNotHereFormat,
            who == UserSession::kSystem ? L"SYSTEM" : CStringW::FromText(Texts::kLogUserStepOtherAccount).GetString()));
    if (component && GetPathKind(SharedTrustedPathProgram()) == kPathFile)
        StartForPersonAtMachine(mode, strFolder, reporter);
}
