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

class HeldFiles;
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
bool CheckPayload(const CStringW& strPayload, const ListedFiles& files, HeldFiles& held,
                  PayloadDifference& difference, Reporter* pProgress);
