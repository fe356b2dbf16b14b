// Something the program could not do, and why: what the steps hand back for the
// final message (which names what) and the log (which also says why).
#pragma once

#include <windows.h>

#include "framework/Array.h"
#include "framework/StringW.h"

class Reporter;

struct Failure {
    CStringW strWhat;  // the path or key, or a line of advice that names it
    DWORD dwError = ERROR_SUCCESS;  // the Win32 error of the call that failed
};

class FailureList : public CArray<Failure> {
public:
    void Add(const CStringW& strWhat, DWORD dwError)
    {
        Failure failure;
        failure.strWhat = strWhat;
        failure.dwError = dwError;
        CArray<Failure>::Add(failure);
    }
    // One failure, recorded in one call: its log line (pszLogFormat, one of the
    // program's texts with one %s, filled with what, then why: the Win32 error
    // and its system text) and its line in the list the final message names.
    void Record(Reporter& log, const char* pszLogFormat, const CStringW& strWhat, DWORD dwError);
    // The first nMaxShown whats, each followed by a line break, and "……" for the
    // rest: a list a message box can show without becoming a wall of text.
    CStringW JoinLines(int nMaxShown) const;
};

// The log line of a failure: pszFormat (one of the program's texts, one %s)
// filled with what, followed by why (the Win32 error and its system text).
CStringW FailureLine(const char* pszFormat, const CStringW& strWhat, DWORD dwError);
