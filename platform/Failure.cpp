#include "platform/Failure.h"

#include "platform/ErrorText.h"

CStringW FailureList::JoinLines(int nMaxShown) const
{
    CStringW list;
    for (int i = 0; i < GetSize() && i < nMaxShown; ++i)
        list += (*this)[i].strWhat + L"\n";
    if (GetSize() > nMaxShown)
        list += L"\x2026\x2026\n";  // "……", as the program's own lists end
    return list;
}

CStringW FailureLine(const char* pszFormat, const CStringW& strWhat, DWORD dwError)
{
    return CStringW::FormatText(pszFormat, strWhat.GetString()) + DescribeError(dwError);
}
