// The copy job of one installation: the payload's files, then the extended
// drawing library, into the install folder, stepping the progress bar.
#pragma once

#include "framework/String.h"

class CWnd;
class FileFinder;

class CPayloadCopier {
public:
    // strFolder is the install folder; one trailing backslash is removed.
    CPayloadCopier(CString strFolder, CWnd* pProgress);

    // Copies the files lying directly in the payload folder. False when the payload
    // cannot be found or the user chose Abort after a failed copy.
    bool CopyPayload();
    // Copies the files of the payload's "Trabex扩展绘图库" folder, quietly.
    void CopyExtendedLibrary();

    CString m_strFolder;
    CWnd* m_pProgress;

private:
    void StepProgress() const;
    // The Abort/Retry/Ignore question after path could not be copied:
    // IDABORT (also when no box could be shown), IDRETRY or IDIGNORE.
    int AskAfterFailure(const CString& path) const;
    // The Abort/Retry/Ignore loop around one file. False means Abort.
    bool CopyOneFile(const CString& source, const CString& target, bool bTargetFits) const;
    // One listing entry of each copy; skipped entries count as done.
    bool CopyPayloadEntry(const CString& payload, const FileFinder& entry,
                          bool bDestinationFits) const;
    void CopyLibraryEntry(const CString& source, const char* pszDestination,
                          const FileFinder& entry) const;
};

// Length of the longest path the two copies write below the install folder
// (backslash included), for the payload folder given.
int LongestInstalledPath(const CString& strPayload);

// Deletes the file's ":Zone.Identifier" stream (the download mark).
bool RemoveZoneIdentifier(CString strPath);

// The extended drawing library's folder, in the payload and in the install folder.
constexpr char kLibraryFolderFormat[] = "%s\\Trabex扩展绘图库";

// Listing entries looked at per call, "." and ".." included.
constexpr int kPayloadEntryCap = 101;
constexpr int kLibraryEntryCap = 81;
