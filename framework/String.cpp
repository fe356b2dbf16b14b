#include "framework/String.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

bool CString::IsLeadByte(unsigned char ch)
{
    return ch >= 0x80 && IsDBCSLeadByte(ch) != FALSE;
}

std::vector<int> CString::CharStarts() const
{
    std::vector<int> starts;
    const int n = GetLength();
    for (int i = 0; i < n;) {
        starts.push_back(i);
        // A lead byte at the very end (a cut text) stands alone.
        i += (IsLeadByte(static_cast<unsigned char>(m_str[i])) && i + 1 < n) ? 2 : 1;
    }
    return starts;
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        std::string out(static_cast<size_t>(n) + 1, '\0');
        std::vsnprintf(&out[0], out.size(), pszFormat, args);
        out.resize(static_cast<size_t>(n));
        m_str.swap(out);
    }
    va_end(args);
}

int CString::Find(char ch, int nStart) const
{
    const char sz[2] = {ch, '\0'};
    return Find(sz, nStart);
}

int CString::Find(const char* pszSub, int nStart) const
{
    if (!pszSub)
        return -1;
    const std::string sub(pszSub);
    if (nStart < 0)
        nStart = 0;
    for (int start : CharStarts()) {
        if (start < nStart)
            continue;
        if (m_str.compare(static_cast<size_t>(start), sub.size(), sub) == 0 &&
            static_cast<size_t>(start) + sub.size() <= m_str.size())
            return start;
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (int start : CharStarts()) {
        if (m_str[static_cast<size_t>(start)] == ch && !IsLeadByte(static_cast<unsigned char>(ch)))
            found = start;
    }
    return found;
}

bool CString::EndsWithChar(char ch) const
{
    const std::vector<int> starts = CharStarts();
    return !starts.empty() && starts.back() == GetLength() - 1 && m_str.back() == ch;
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength() || nCount <= 0)
        return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount <= 0)
        return CString();
    if (nCount >= GetLength())
        return *this;
    return Mid(GetLength() - nCount, nCount);
}

void CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0 || nIndex >= GetLength() || nCount <= 0)
        return;
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
}

CString& CString::MakeUpper()
{
    for (int start : CharStarts()) {
        char& c = m_str[static_cast<size_t>(start)];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return *this;
}

CString& CString::MakeLower()
{
    for (int start : CharStarts()) {
        char& c = m_str[static_cast<size_t>(start)];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return *this;
}

int CString::CompareNoCase(const char* psz) const
{
    CString a(*this), b(psz);
    a.MakeLower();
    b.MakeLower();
    return a.m_str.compare(b.m_str) < 0 ? -1 : (a.m_str == b.m_str ? 0 : 1);
}
