// Access lists of the folders the setup creates: the only code that sets file
// security.
#pragma once

#include "framework/String.h"
#include "platform/WinResult.h"

namespace FolderSecurity {

// Sets the folder's access list from SDDL (e.g. "D:PAI(A;OICI;FA;;;BA)..."):
// bProtected cuts inheritance from the parent; otherwise the parent's
// inheritable entries stay and the list's entries come on top. Existing files
// and folders below inherit the result. False when Windows refuses.
WinResult Apply(const char* pszFolder, const char* pszSddl, bool bProtected);

// Tests see what would be applied instead of changing the disk; NULL restores.
typedef bool (*ApplyFn)(const char* pszFolder, const char* pszSddl, bool bProtected);
void SetApplyForTesting(ApplyFn fn);

} // namespace FolderSecurity
