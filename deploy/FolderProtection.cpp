#include "deploy/FolderProtection.h"

#include "deploy/InstallLayout.h"
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
    return applied;
}

WinResult OpenLibraryToUsers(const CString& strInstallFolder, CString& strFailed)
{
    CString library;
    library.Format(kLibraryFolderFormat, strInstallFolder.GetString());
    // Windows sets a list by name through a link: never on what one points to.
    const WinResult applied =
        Files::IsLink(library) ? WinResult(kErrorReparsePoint) : FolderSecurity::Apply(library, kLibrarySddl, false);
    if (!applied)
        strFailed = library;
    return applied;
}
