#include "platform/Failure.h"

#include "framework/Reporter.h"
#include "platform/ErrorText.h"

CStringW FailureList::JoinLines(int nMaxShown) const
{
    CStringArrayW whats;
    for (int i = 0; i < GetSize(); ++i)
        whats.Add((*this)[i].strWhat);
    return ::JoinLines(whats, nMaxShown);
}

CStringW FailureLine(const char* pszFormat, const CStringW& strWhat, DWORD dwError)
{
    return CStringW::FormatText(pszFormat, strWhat.GetString()) + DescribeError(dwError);
}

void FailureList::Record(Reporter& log, const char* pszLogFormat, const CStringW& strWhat, DWORD dwError)
{
    log.Note(FailureLine(pszLogFormat, strWhat, dwError));
    Add(strWhat, dwError);
}
