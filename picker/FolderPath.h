// The folder picker's check on OK: a typed folder path is checked, and created
// level by level when the user agrees.
#pragma once

#include "platform/FolderName.h"

// The check on OK: 0 exists or was created, -1 creation declined, 1 invalid,
// 2 cannot be created; the last two after telling the user.
int ConfirmFolder(const char* pszPath);
