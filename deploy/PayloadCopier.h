// The copy job of one installation: the payload's files, then the extended
// drawing library, into the install folder, stepping the progress bar.
#pragma once

#include "framework/Reporter.h"
#include "framework/String.h"

class CWnd;
class FileFinder;

class CPayloadCopier {
public:
    // strFolder is the install folder; one trailing backslash is removed. Questions
    // and progress go to reporter, which must outlive the copier.
    CPayloadCopier(CString strFolder, Reporter& reporter);
    // The interactive face of old: boxes owned by the main window, steps on pProgress.
    CPayloadCopier(CString strFolder, CWnd* pProgress);

    // Copies the files lying directly in the payload folder. False when the payload
    // cannot be found or the user chose Abort after a failed copy.
    bool CopyPayload();
    // Copies the files of the payload's "Trabex扩展绘图库" folder without a
    // question; what could not be copied is added to m_arrLibraryFailures.
    void CopyExtendedLibrary();

    CString m_strFolder;
    // Bytes of the files copied so far (payload and library).
    unsigned long long m_nBytesCopied = 0;
    // Library files that could not be copied (their target paths).
    CStringArray m_arrLibraryFailures;
    // The files copied, relative to the install folder.
    CStringArray m_arrPlaced;

private:
    void StepProgress() const;
    // The Abort/Retry/Ignore question after path could not be copied:
    // IDABORT (also when no box could be shown), IDRETRY or IDIGNORE.
    int AskAfterFailure(const CString& path) const;
    // The Abort/Retry/Ignore loop around one file: IDOK when copied, else
    // IDABORT or IDIGNORE.
    int CopyOneFile(const CString& source, const CString& target, bool bTargetFits);
    // One listing entry of each copy; skipped entries count as done.
    bool CopyPayloadEntry(const CString& payload, const FileFinder& entry, bool bDestinationFits);
    void CopyLibraryEntry(const CString& source, const char* pszDestination, const FileFinder& entry);
    // Logs one copy and counts its bytes when it succeeded.
    void NoteCopy(const CString& target, const FileFinder& entry, bool bCopied);

    WindowReporter m_ownReporter;
    Reporter* m_pReporter;
};

// Length of the longest path the two copies write below the install folder
// (backslash included), for the payload folder given.
int LongestInstalledPath(const CString& strPayload);

// Deletes the file's ":Zone.Identifier" stream (the download mark).
bool RemoveZoneIdentifier(CString strPath);

// The extended drawing library's folder, in the payload and in the install folder.
constexpr char kLibraryFolderFormat[] = "%s\\Trabex扩展绘图库";

// How many progress steps the two copies of this payload take: one per listing
// entry, "." and ".." included, and one more per listing.
int CountCopySteps(const CString& strPayload);
