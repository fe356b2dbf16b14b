// TRUSTEDPATHS of the current user's AutoCAD profiles, for what takes the install
// folder out again (the removal, the per-user step) and for the tests of the
// rules that decide which entries are the folder's. Adding the folder is
// CAcadRegistry::AddTrustedPath.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/WinResult.h"

// True when one ";"-separated entry of the value names the folder: equal without
// regard to (ASCII) case, allowing one trailing backslash, or the folder followed
// by "\..." (the folder with its sub-folders).
bool TrustedPathsContain(const CStringW& strValue, const CStringW& strFolder);
// True when the entry names the folder itself in another spelling: both compared
// as long, full paths. "\" and "\..." forms are never the same folder.
bool IsSameFolder(const CStringW& strEntry, const CStringW& strFolder);

// Every entry of the TRUSTEDPATHS of this user's profiles, each once (compared
// without regard to case).
void CollectTrustedPathEntries(CStringArrayW& arrEntries);
// The Variables keys whose TRUSTEDPATHS hold the folder's own entry.
void FindTrustingProfiles(const CString& strFolder, CStringArray& arrVariablesPaths);
// Takes the folder's entries out of one profile's TRUSTEDPATHS; writes nothing
// when there is none. The failure when the value could not be read or written.
WinResult RemoveTrustedPath(const CString& strVariablesPath, const CString& strFolder);
