#include "sequence/UserStep.h"

#include "acad/AcadRegistry.h"
#include "acad/TrustedPaths.h"
#include "platform/Failure.h"
#include "platform/Files.h"
#include "platform/FolderName.h"
#include "res/Texts.h"
#include "sequence/RemovalSequence.h"

namespace {

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
    return mode == kUserStepAdd ? AddForThisUser(strFolder, reporter) : RemoveForThisUser(strFolder, reporter);
}
