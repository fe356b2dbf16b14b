#include "deploy/FolderProtection.h"

#include "deploy/PayloadCopier.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"

WinResult ProtectInstallFolder(const CString& strInstallFolder, CString& strFailed)
{
    WinResult applied = FolderSecurity::Apply(strInstallFolder, kInstallFolderSddl, true);
    if (!applied) {
        strFailed = strInstallFolder;
        return applied;
    }
    CString library;
    library.Format(kLibraryFolderFormat, strInstallFolder.GetString());
    Files::MakeDir(library);
    applied = FolderSecurity::Apply(library, kLibrarySddl, false);
    if (!applied)
        strFailed = library;
    return applied;
}
