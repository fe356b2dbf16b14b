#include "deploy/TrustedPathProgram.h"

#include <cstring>

#include "deploy/InstallLayout.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"
#include "platform/SystemFolders.h"

namespace {

// Not "Q-Ostrevo": a folder of that name is what the setup installs into, and
// somebody may choose Program Files for it.
const char kSharedFolderName[] = "Ostrevo";
// The kept copy carries the setup's version in its name: a copy a user's logon
// runs (and so holds) never stands in the way of the next version's.
const char kKeptCopyPrefix[] = "TrabexTrustedPath-";

// Earlier versions' copies go; one still running goes when Windows next starts.
void ForgetOlderCopies(const CStringW& folder, const CStringW& current)
{
    CStringArrayW older;
    FileFinder finder;
    for (bool more = finder.First(folder + L"\\" + CStringW::FromText(kKeptCopyPrefix) + L"*.exe"); more;
         more = finder.Next()) {
        const CStringW path = folder + L"\\" + finder.NameW();
        if (!finder.IsFolder() && !path.EqualsNoCase(current))
            older.Add(path);
    }
    finder.Close();
    for (int i = 0; i < older.GetSize(); ++i) {
        if (!Files::Delete(older[i]))
            Files::DeleteAtRestart(older[i]);
    }
}

} // namespace

CString SharedTrustedPathFolder()
{
    // Empty when GBK cannot hold it: the folder is written as the program's text, never a look-alike.
    CString programFiles;
    if (!PathToText(ProgramFilesFolder(), programFiles))
        return CString();
    return programFiles.IsEmpty() ? CString() : programFiles + "\\" + kSharedFolderName;
}

CString SharedTrustedPathProgram()
{
    const CString folder = SharedTrustedPathFolder();
    CString program;
    if (!folder.IsEmpty())
        program.Format("%s\\%s%s.exe", folder.GetString(), kKeptCopyPrefix, SetupVersionText().GetString());
    return program;
}

WinResult PlaceSharedTrustedPathProgram(const CStringW& strSourceFolder, CString& strFailed)
{
    const CString folder = SharedTrustedPathFolder();
    strFailed = folder;
    if (folder.IsEmpty())
        return WinResult(ERROR_PATH_NOT_FOUND);
    const CStringW folderW = CStringW::FromText(folder);
    // Made with its owner and list in one call; one that was there before (an
    // earlier install's) is used only when no one else could replace it.
    const bool existed = Files::Exists(folderW) ||
                         FolderSecurity::CreateWith(folderW, kProtectedFolderSddl).Code() == ERROR_ALREADY_EXISTS;
    if (GetPathKind(folderW) != kPathFolder)
        return WinResult(ERROR_PATH_NOT_FOUND);
    CStringW owner;
    if (existed && FolderSecurity::IsReplaceable(folderW, owner))
        return WinResult(ERROR_ACCESS_DENIED);
    const CStringW source = strSourceFolder + L"\\" + CStringW::FromText(kTrustedPathProgramName);
    const CStringW target = CStringW::FromText(SharedTrustedPathProgram());
    strFailed = SharedTrustedPathProgram();
    WinResult result = Files::PlaceFile(source, target);
    if (!result && Files::SameContent(source, target))
        result = WinResult();  // in use by a user's logon, and already this one
    if (result)
        ForgetOlderCopies(folderW, target);
    return result;
}

CString TrustedPathCommandLine(UserStepMode mode, const CString& strFolder)
{
    CString line;
    line.Format("\"%s\" %s \"%s\"", SharedTrustedPathProgram().GetString(),
                mode == kUserStepAdd ? kTrustedPathAddSwitch : kTrustedPathRemoveSwitch, strFolder.GetString());
    return line;
}
