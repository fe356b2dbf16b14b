// The list of the payload's files that the distribution's SetUp.exe carries. It
// is built in when the distribution is made, after the programs in Data are
// signed, so SetUp.exe's own signature (which covers nothing beside it) covers
// every file of Data too. One line per file:
//   <SHA-256, 64 hexadecimal digits> <size in bytes> <path below Data, '\' separated, UTF-8>
// The build's own SetUp.exe carries none and installs whatever Data holds.
#pragma once

#include <windows.h>

#include "framework/Array.h"
#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/HeldFiles.h"
#include "platform/WorkerThread.h"

class Reporter;

struct ListedFile {
    CStringW strRelative;  // below the payload folder
    unsigned long long nSize = 0;
    CString strSha256;  // lowercase hexadecimal
};
typedef CArray<ListedFile> ListedFiles;

enum PayloadListState {
    kNoPayloadList,       // the program carries none
    kPayloadListRead,     // files holds it
    kPayloadListDamaged,  // there is one, but it is no such list
};
PayloadListState ReadPayloadList(ListedFiles& files);
// Tests and the benchmark give the list that a program of theirs does not
// carry (the same text); empty: the program's own again.
void SetPayloadListForTesting(const CString& strText);

// What the check found wrong with one listed file.
struct PayloadDifference {
    ListedFile listed;
    DWORD dwError = ERROR_SUCCESS;  // it could not be opened or read; otherwise it was read, and differs
    unsigned long long nFoundSize = 0;
    CString strFoundSha256;
};

// Opens every listed file below strPayload so that no one may write, rename or
// delete it, and compares its size and SHA-256 with the list; each file that
// matches is kept open in held. False at the first file that is missing, cannot
// be read or differs (described in difference; held then emptied). pProgress
// (may be NULL) is stepped while the files are read.
// Once *pStop (may be NULL) is not 0 the check ends early, as failed.
bool CheckPayload(const CStringW& strPayload, const ListedFiles& files, HeldFiles& held,
                  PayloadDifference& difference, Reporter* pProgress, const volatile LONG* pStop = nullptr);

// CheckPayload on a thread of its own, started before anyone asks for its
// verdict (while the dialog waits for a click), so that the verdict is at hand,
// or nearer, when it is asked for. The files it opens are held from then on.
class EarlyPayloadCheck {
public:
    EarlyPayloadCheck() = default;
    // A check still under way is stopped (the dialog closed): the program does
    // not linger, unseen, holding the payload, its log and its single-run name.
    ~EarlyPayloadCheck();
    EarlyPayloadCheck(const EarlyPayloadCheck&) = delete;
    EarlyPayloadCheck& operator=(const EarlyPayloadCheck&) = delete;

    // Starts checking the files below strPayload (nothing when a check is
    // under way or its verdict not yet taken, or no thread can start).
    void Start(const CStringW& strPayload, const ListedFiles& files);
    // A check of that payload folder was started and its verdict not yet taken.
    bool IsStartedFor(const CStringW& strPayload) const;
    // Waits for the check (pProgress stepped meanwhile) and gives its verdict as
    // CheckPayload does, the files into held; the check is then taken.
    bool Take(HeldFiles& held, PayloadDifference& difference, Reporter* pProgress);

private:
    static DWORD WINAPI Run(void* pCheck);
    CStringW m_strPayload;
    ListedFiles m_files;
    HeldFiles m_held;
    PayloadDifference m_difference;
    bool m_bSame = false;
    volatile LONG m_stop = 0;
    // Last, so that it is destroyed first: the thread ends before what it fills goes.
    WorkerThread m_thread;
};
