// Helpers of the trusted-path update, visible for their own tests.
#pragma once

#include <windows.h>

#include "framework/String.h"

// Appends the names of hKey's direct sub-keys that open with KEY_READ.
void ListOpenableSubKeys(HKEY hKey, CStringArray& arrNames);

// True when one ";"-separated entry of the value names the folder: equal without
// regard to case, allowing one trailing backslash, or the folder followed by "\..."
// (the folder with its sub-folders).
bool TrustedPathsContain(const CString& strValue, const CString& strFolder);

// The value to write back for the current value and the install folder.
CString ComposeTrustedPaths(const CString& strCurrent, const CString& strFolder);
