// Helpers of the trusted-path update, visible for their own tests.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/WinResult.h"

// Appends the names of hKey's direct sub-keys that open with KEY_READ.
void ListOpenableSubKeys(HKEY hKey, CStringArray& arrNames);

// True when one ";"-entry names the folder: equal without regard to (ASCII) case,
// allowing one trailing backslash, or the folder followed by "\..." (the folder
// with its sub-folders).
bool IsTrustedPathEntry(const CStringW& strEntry, const CStringW& strFolder);
// True when one ";"-separated entry of the value names the folder.
bool TrustedPathsContain(const CStringW& strValue, const CStringW& strFolder);

// The value to write back for the current value and the install folder.
CStringW ComposeTrustedPaths(const CStringW& strCurrent, const CStringW& strFolder);

// The Variables key of every AutoCAD profile of the current user, in the order
// the trusted-path update visits them.
void CollectVariablesKeys(CStringArray& arrVariablesPaths);

// True when the entry is the folder itself, as the install writes it (in its own
// case or upper-cased); "\" and "\..." forms are the user's own and stay.
bool IsOwnTrustedPathEntry(const CStringW& strEntry, const CStringW& strFolder);
// True when the entry names the folder itself in another spelling: both compared
// as long, full paths. "\" and "\..." forms are never the same folder.
bool IsSameFolder(const CStringW& strEntry, const CStringW& strFolder);
// The value without every entry that is the folder itself (in any spelling); *pRemoved tells
// whether there was one. Every other entry stays, in its order.
CStringW WithoutTrustedPathEntry(const CStringW& strValue, const CStringW& strFolder, bool* pRemoved);
// Every entry of the TRUSTEDPATHS of this user's profiles, each once (compared
// without regard to case).
void CollectTrustedPathEntries(CStringArrayW& arrEntries);
// The Variables keys whose TRUSTEDPATHS hold the folder's own entry.
void FindTrustingProfiles(const CString& strFolder, CStringArray& arrVariablesPaths);
// Takes the folder's entries out of one profile's TRUSTEDPATHS; writes nothing
// when there is none. The failure when the value could not be read or written.
WinResult RemoveTrustedPath(const CString& strVariablesPath, const CString& strFolder);
