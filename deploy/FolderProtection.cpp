#include "deploy/FolderProtection.h"

#include "deploy/InstallLayout.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"

WinResult MakeLibrary(const CString& strInstallFolder, bool& bMade, CString& strFailed)
{
    CString library;
    library.Format(kLibraryFolderFormat, strInstallFolder.GetString());
    const CStringW libraryW = CStringW::FromText(library);
    bMade = false;
    if (Files::Exists(libraryW))
        return WinResult();
    const WinResult made = FolderSecurity::CreateWith(libraryW, kProtectedFolderSddl);
    bMade = static_cast<bool>(made);
    if (!made && made.Code() != ERROR_ALREADY_EXISTS) {
        strFailed = library;
        return made;
    }
    return WinResult();
}

WinResult OpenLibraryToUsers(const CString& strInstallFolder, CString& strFailed)
{
    CString library;
    library.Format(kLibraryFolderFormat, strInstallFolder.GetString());
    // Windows sets a list by name through a link: never on what one points to.
    const CStringW libraryW = CStringW::FromText(library);
    const WinResult applied =
        Files::IsLink(libraryW) ? WinResult(kErrorReparsePoint) : FolderSecurity::Apply(libraryW, kLibrarySddl, false);
    if (!applied)
        strFailed = library;
    return applied;
}
