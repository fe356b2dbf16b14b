// The rules a folder path must follow to be an install folder, and its
// creation level by level: shared by the folder picker and the install's checks.
#pragma once

#include <windows.h>

// Results of CreateFolderPath and ConfirmFolder.
enum FolderResult {
    kFolderOk = 0,
    kFolderDeclined = -1,   // the user did not want it created
    kFolderInvalid = 1,
    kFolderCannotCreate = 2,
};

// TRUE when name may be one level of a folder path: not empty, no leading or
// trailing tab, space or dot, none of " * / : < > ? \ | ; (';' separates the
// entries of AutoCAD's trusted paths, where the folder is written). Whole GBK characters
// are checked, so a double-byte character never fails on its second byte.
BOOL CheckFolderName(const char* pszName);
// Checks "X:\level\level..." (bValidateOnly) or also creates the missing levels
// from the root down, each with the protected access list and Administrators as
// owner. 0 ok, 1 invalid, 2 cannot be created.
int CreateFolderPath(const char* pszPath, BOOL bValidateOnly);
