// The copy job of one installation: the payload's files, then the extended
// drawing library, into the install folder, stepping the progress bar.
#pragma once

#include "framework/Reporter.h"
#include "framework/String.h"
#include "platform/Failure.h"
#include "platform/WinResult.h"

class FileFinder;
class HeldFiles;
class InstalledFilesJournal;

// What the two copies did, read by the install once they are done.
struct CopyResult {
    unsigned long long nBytes = 0;  // bytes of the files copied
    FailureList libraryFailures;  // library files that could not be copied (target paths)
};

class CPayloadCopier {
public:
    // strFolder is the install folder (one trailing backslash is removed);
    // strPayload the payload folder the install's checks found, empty when there
    // is none. Questions, notes and progress go to reporter, which must outlive
    // the copier.
    CPayloadCopier(CString strFolder, const CStringW& strPayload, Reporter& reporter);

    // Each file is added to journal (flushed) before it is placed: a setup that is
    // killed leaves no file the uninstaller does not know. Must outlive the copier.
    void SetJournal(InstalledFilesJournal* pJournal) { m_pJournal = pJournal; }
    // The payload's files checked against the program's list: only the files
    // held there are copied, each through its held handle; any other file is
    // passed over (noted). Must outlive the copier.
    void SetListed(const HeldFiles* pListed) { m_pListed = pListed; }

    // Copies the files lying directly in the payload folder, the uninstaller
    // first (whatever stops the setup then, what it placed can be taken off
    // again). False when there is no payload (told) or the user chose Abort after
    // a failed copy.
    bool CopyPayload();
    // Copies the files of the payload's "Trabex扩展绘图库" folder without a
    // question; what could not be copied is named in the result.
    void CopyExtendedLibrary();
    const CopyResult& Result() const { return m_result; }

    CString m_strFolder;

private:
    void StepProgress() const;
    // The Abort/Retry/Ignore question after path could not be copied:
    // IDABORT (also when no box could be shown), IDRETRY or IDIGNORE.
    int AskAfterFailure(const CStringW& path) const;
    // The Abort/Retry/Ignore loop around one file: IDOK when copied, else
    // IDABORT or IDIGNORE with the copy's error in *pError.
    int CopyOneFile(const CStringW& source, const CStringW& target, DWORD* pError);
    // Records the target in the journal, then copies over it (freeing a read-only one).
    WinResult Place(const CStringW& source, const CStringW& target);
    // The target's path below the install folder, which is the source's below the payload folder.
    CStringW Relative(const CStringW& target) const;
    // True (noted) when a list is in force and does not name the file.
    bool PassOverUnlisted(const CStringW& source, const CStringW& target) const;
    // One listing entry of each copy; skipped entries count as done.
    bool CopyPayloadEntry(const FileFinder& entry);
    void CopyLibraryEntry(const CStringW& source, const CStringW& destination, const FileFinder& entry);
    // Logs one copy (with the reason when it failed) and counts its bytes when it succeeded.
    void NoteCopy(const CStringW& target, const FileFinder& entry, DWORD dwError);

    CStringW m_strPayload;
    CStringW m_strFolderW;  // the install folder as the wide functions take it
    bool m_bFolderFits;     // the install folder fits a path buffer
    InstalledFilesJournal* m_pJournal = nullptr;
    const HeldFiles* m_pListed = nullptr;
    Reporter& m_reporter;
    CopyResult m_result;
};

// Length (in characters) of the longest path the two copies write below the
// install folder (backslash included), for the payload folder given.
int LongestInstalledPath(const CStringW& strPayload);

// Deletes the file's ":Zone.Identifier" stream (the download mark).
bool RemoveZoneIdentifier(const CStringW& strPath);


// How many progress steps the two copies of this payload take: one per listing
// entry, "." and ".." included, and one more per listing.
int CountCopySteps(const CStringW& strPayload);
