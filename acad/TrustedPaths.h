// Helpers of the trusted-path update, visible for their own tests.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/StringW.h"

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
