// Taking the installed files off the disk again: exactly the files the setup
// placed (its list in the install folder), never anything else.
#pragma once

#include "framework/String.h"
#include "platform/Failure.h"

// What the removal of the files did not take away.
struct FilesLeft {
    FailureList leftovers;   // listed files and folders that could not be removed (their paths)
    CStringArrayW kept;      // folders kept because they hold files the setup did not place
    bool bNoList = false;    // the install folder had no list: no file was deleted
    bool bUninstallerKept = false;  // the uninstaller stays for another attempt
};

// Deletes the listed files of the install folder and of its extended drawing
// library, then the folders that are left empty, then the parent folder when
// that is left empty. The uninstaller pszUninstaller (a file name in the install
// folder) goes last, and only when nothing else is left (left.leftovers, which
// may hold what was left before): otherwise it stays, listed, so that the
// removal can be run again. With bDeferUninstaller it is not deleted here but
// left, with the folders, to a step after this program has ended. Each file
// deleted is added to pRemoved (when given).
void RemoveInstallFolder(const CString& strFolder, FilesLeft& left, const char* pszUninstaller,
                         bool bDeferUninstaller, CStringArrayW* pRemoved = nullptr);
// Removes the install folder when empty, then its parent when that is empty too.
// False when the install folder is still there.
bool RemoveEmptyInstallFolder(const CString& strFolder);

// True when the folder holds anything besides the file named pszOnly (NULL: anything).
bool FolderHoldsMoreThan(const CStringW& strFolder, const char* pszOnly);
inline bool FolderHoldsMoreThan(const CString& strFolder, const char* pszOnly)
{
    return FolderHoldsMoreThan(CStringW::FromText(strFolder), pszOnly);
}
