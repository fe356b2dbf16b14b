#include "deploy/FolderProtection.h"

#include "deploy/PayloadCopier.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"

bool ProtectInstallFolder(const CString& strInstallFolder, CString& strFailed)
{
    if (!FolderSecurity::Apply(strInstallFolder, kInstallFolderSddl, true)) {
        strFailed = strInstallFolder;
        return false;
    }
    CString library;
    library.Format(kLibraryFolderFormat, strInstallFolder.GetString());
    Files::MakeDir(library);
    if (!FolderSecurity::Apply(library, kLibrarySddl, false)) {
        strFailed = library;
        return false;
    }
    return true;
}
