// The list of placed files of an install folder, staged as an install leaves it.
#pragma once

#include "deploy/InstalledFiles.h"

// Adds the relative paths to the folder's list (each once, in any case), through
// the journal an install records with; the failure when the list could not be written.
inline WinResult AddInstalledFiles(const CString& strInstallFolder, const CStringArrayW& relativePaths)
{
    InstalledFilesJournal journal;
    WinResult result = journal.Open(strInstallFolder);
    for (int i = 0; result && i < relativePaths.GetSize(); ++i)
        result = journal.Record(relativePaths[i]);
    return result;
}
