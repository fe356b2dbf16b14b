#include "deploy/TrustedPathProgram.h"

#include <cstring>

#include "deploy/FolderProtection.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"
#include "platform/SystemFolders.h"

namespace {

// Not "Q-Ostrevo": a folder of that name is what the setup installs into, and
// somebody may choose Program Files for it.
const char kSharedFolderName[] = "Ostrevo";

} // namespace

CString SharedTrustedPathFolder()
{
    const CString programFiles = ProgramFilesFolder();
    return programFiles.IsEmpty() ? CString() : programFiles + "\\" + kSharedFolderName;
}

CString SharedTrustedPathProgram()
{
    const CString folder = SharedTrustedPathFolder();
    return folder.IsEmpty() ? CString() : folder + "\\" + kTrustedPathProgramName;
}

WinResult PlaceSharedTrustedPathProgram(const CStringW& strSourceFolder, CString& strFailed)
{
    const CString folder = SharedTrustedPathFolder();
    strFailed = folder;
    if (folder.IsEmpty())
        return WinResult(ERROR_PATH_NOT_FOUND);
    if (!Files::Exists(folder))
        FolderSecurity::CreateWith(CStringW::FromText(folder), kProtectedFolderSddl);
    if (GetPathKind(folder) != kPathFolder)
        return WinResult(ERROR_PATH_NOT_FOUND);
    WinResult result = FolderSecurity::Apply(folder, kInstallFolderSddl, true);
    if (!result)
        return result;
    const CStringW source = strSourceFolder + L"\\" + CStringW::FromText(kTrustedPathProgramName);
    const CStringW target = CStringW::FromText(SharedTrustedPathProgram());
    strFailed = SharedTrustedPathProgram();
    result = Files::CopyOverwrite(source, target);
    if (!result && Files::SameContent(source, target))
        return WinResult();  // in use by a user's logon, and already this one
    return result;
}

CString TrustedPathCommandLine(UserStepMode mode, const CString& strFolder)
{
    CString line;
    line.Format("\"%s\" %s \"%s\"", SharedTrustedPathProgram().GetString(),
                mode == kUserStepAdd ? kTrustedPathAddSwitch : kTrustedPathRemoveSwitch, strFolder.GetString());
    return line;
}
