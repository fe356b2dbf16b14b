// Taking the installed files off the disk again.
#pragma once

#include "framework/String.h"

// Deletes the files of the install folder and of its extended drawing library,
// then the library folder and the install folder, then the parent folder when
// that is left empty. What stays (a locked file, a folder of the user's own, the
// install folder around them) is added to leftovers.
void RemoveInstallFolder(const CString& strFolder, CStringArray& leftovers);

// True when the folder holds anything besides the file named pszOnly.
bool FolderHoldsMoreThan(const CString& strFolder, const char* pszOnly);
