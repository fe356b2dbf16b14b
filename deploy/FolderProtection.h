// The add-on's own folder is protected like Program Files: its modules are loaded
// by every user's AutoCAD and it is a trusted path, so no user but an
// administrator may change what lies there. A folder made below a drive root
// would otherwise inherit "Authenticated Users: Modify". Lists are set only on
// folders this run made: never pushed into a tree others could have filled.
#pragma once

#include "framework/String.h"
#include "platform/FolderSecurity.h"
#include "platform/WinResult.h"

// The drawing library below it stays open to users for what it holds (drawings
// are data): Users may add files and folders to it and modify what lies inside,
// but not rename, delete or re-permit the library itself (with others' drawings
// in it), on top of what it inherits.
constexpr wchar_t kLibrarySddl[] = L"D:AI(A;;0x1200af;;;BU)(A;OICIIO;0x1301bf;;;BU)";

// Makes the library folder when missing, protected like the install folder until
// its files are placed (bMade then); on failure the folder is in strFailed.
WinResult MakeLibrary(const CString& strInstallFolder, bool& bMade, CString& strFailed);
// Opens a library this run made to users, once its files are placed: until then
// no user may turn the empty folder into a link that the copy would write through.
WinResult OpenLibraryToUsers(const CString& strInstallFolder, CString& strFailed);
