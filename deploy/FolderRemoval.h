// Taking the installed files off the disk again: exactly the files the setup
// placed (its list in the install folder), never anything else.
#pragma once

#include "framework/String.h"

// What the removal of the files did not take away.
struct FilesLeft {
    CStringArray leftovers;  // listed files and folders that could not be removed
    CStringArray kept;       // folders kept because they hold files the setup did not place
    bool bNoList = false;    // the install folder had no list: no file was deleted
};

// Deletes the listed files of the install folder and of its extended drawing
// library, then the folders that are left empty, then the parent folder when
// that is left empty. pszKeep names a file of the install folder that stays (the
// running uninstaller, which a later step deletes with the folders); the install
// folder is then left too. Each file deleted is added to pRemoved (when given).
void RemoveInstallFolder(const CString& strFolder, FilesLeft& left, const char* pszKeep = nullptr,
                         CStringArray* pRemoved = nullptr);
// Removes the install folder when empty, then its parent when that is empty too.
// False when the install folder is still there.
bool RemoveEmptyInstallFolder(const CString& strFolder);

// True when the folder holds anything besides the file named pszOnly.
bool FolderHoldsMoreThan(const CString& strFolder, const char* pszOnly);
