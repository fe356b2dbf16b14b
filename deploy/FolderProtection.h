// The add-on's own folder is protected like Program Files: its modules are loaded
// by every user's AutoCAD and it is a trusted path, so no user but an
// administrator may change what lies there. A folder made below a drive root
// would otherwise inherit "Authenticated Users: Modify".
#pragma once

#include "framework/String.h"
#include "platform/FolderSecurity.h"
#include "platform/WinResult.h"

// Administrators and SYSTEM full control, Users read and execute; nothing
// inherited from the chosen folder, which is not touched itself.
constexpr char kInstallFolderSddl[] = TRABEX_PROTECTED_DACL;
// The drawing library below it stays writable by users (drawings are data): Users
// may modify, on top of what it inherits.
constexpr char kLibrarySddl[] = "D:AI(A;OICI;0x1301bf;;;BU)";

// Applies the folder's list and makes the library folder when missing (it
// inherits that list); on failure the folder Windows refused is in strFailed.
WinResult ProtectInstallFolder(const CString& strInstallFolder, CString& strFailed);
// Opens the library to users, once its files are placed: until then no user may
// turn the empty folder into a link that the copy would write through.
WinResult OpenLibraryToUsers(const CString& strInstallFolder, CString& strFailed);
