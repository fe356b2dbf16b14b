#include "framework/StringW.h"

#include <windows.h>

#include "framework/String.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

wchar_t CStringW::s_empty[1] = {L'\0'};

CStringW::CStringW(const wchar_t* psz)
{
    if (psz)
        Assign(psz, static_cast<int>(wcslen(psz)));
}

CStringW::CStringW(const wchar_t* p, int nLength)
{
    if (p && nLength > 0)
        Assign(p, nLength);
}

CStringW::CStringW(const CStringW& other)
{
    Assign(other.m_psz, other.m_nLength);
}

CStringW::~CStringW()
{
    if (m_psz != s_empty)
        std::free(m_psz);
}

CStringW& CStringW::operator=(const CStringW& other)
{
    if (this != &other)
        Assign(other.m_psz, other.m_nLength);
    return *this;
}

void CStringW::Assign(const wchar_t* p, int n)
{
    wchar_t* q = s_empty;
    if (n > 0) {
        q = static_cast<wchar_t*>(std::malloc((static_cast<size_t>(n) + 1) * sizeof(wchar_t)));
        if (!q)
            std::abort();  // the program throws nothing; without memory it cannot go on
        std::memcpy(q, p, static_cast<size_t>(n) * sizeof(wchar_t));
        q[n] = L'\0';
    }
    if (m_psz != s_empty)
        std::free(m_psz);
    m_psz = q;
    m_nLength = n > 0 ? n : 0;
}

CStringW& CStringW::operator+=(const CStringW& s)
{
    const int n = m_nLength + s.m_nLength;
    wchar_t* q = static_cast<wchar_t*>(std::malloc((static_cast<size_t>(n) + 1) * sizeof(wchar_t)));
    if (!q)
        std::abort();
    std::memcpy(q, m_psz, static_cast<size_t>(m_nLength) * sizeof(wchar_t));
    std::memcpy(q + m_nLength, s.m_psz, static_cast<size_t>(s.m_nLength) * sizeof(wchar_t));
    q[n] = L'\0';
    if (m_psz != s_empty)
        std::free(m_psz);
    m_psz = q;
    m_nLength = n;
    return *this;
}

bool operator==(const CStringW& a, const CStringW& b)
{
    return a.m_nLength == b.m_nLength &&
           std::memcmp(a.m_psz, b.m_psz, static_cast<size_t>(a.m_nLength) * sizeof(wchar_t)) == 0;
}

CStringW CStringW::FromCodePage(unsigned int nCodePage, const char* psz)
{
    CStringW out;
    if (!psz || !*psz)
        return out;
    const int n = MultiByteToWideChar(nCodePage, 0, psz, -1, nullptr, 0);
    if (n <= 1)
        return out;
    wchar_t* q = static_cast<wchar_t*>(std::malloc(static_cast<size_t>(n) * sizeof(wchar_t)));
    if (!q)
        std::abort();
    MultiByteToWideChar(nCodePage, 0, psz, -1, q, n);
    out.m_psz = q;
    out.m_nLength = n - 1;
    return out;
}

CStringW CStringW::FromUtf8(const char* p, int nLength)
{
    CStringW out;
    if (!p || nLength <= 0)
        return out;
    const int n = MultiByteToWideChar(CP_UTF8, 0, p, nLength, nullptr, 0);
    if (n <= 0)
        return out;
    wchar_t* q = static_cast<wchar_t*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(wchar_t)));
    if (!q)
        std::abort();
    MultiByteToWideChar(CP_UTF8, 0, p, nLength, q, n);
    out.Assign(q, n);
    std::free(q);
    return out;
}

CString CStringW::ToUtf8() const
{
    CString out;
    const int n = WideCharToMultiByte(CP_UTF8, 0, m_psz, m_nLength, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return out;
    char* q = out.GetBuffer(n);
    WideCharToMultiByte(CP_UTF8, 0, m_psz, m_nLength, q, n, nullptr, nullptr);
    q[n] = '\0';
    out.ReleaseBuffer();
    return out;
}

CStringW CStringW::FromText(const char* psz)
{
    return FromCodePage(kTextCodePage, psz);
}

CStringW CStringW::FormatText(const char* pszFormat, ...)
{
    const CStringW format = FromText(pszFormat);
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    // The runtime's own wide printf: there %s is a wide text.
    const int n = _vscwprintf(format.GetString(), copy);
    va_end(copy);
    CStringW out;
    if (n > 0) {
        wchar_t* q = static_cast<wchar_t*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(wchar_t)));
        if (!q)
            std::abort();
        _vsnwprintf(q, static_cast<size_t>(n) + 1, format.GetString(), args);
        out = CStringW(q, n);
        std::free(q);
    }
    va_end(args);
    return out;
}

int CStringW::ReverseFind(wchar_t ch) const
{
    for (int i = m_nLength - 1; i >= 0; --i) {
        if (m_psz[i] == ch)
            return i;
    }
    return -1;
}

int CStringW::Find(wchar_t ch, int nStart) const
{
    for (int i = nStart < 0 ? 0 : nStart; i < m_nLength; ++i) {
        if (m_psz[i] == ch)
            return i;
    }
    return -1;
}

CStringW CStringW::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= m_nLength || nCount <= 0)
        return CStringW();
    if (nCount > m_nLength - nFirst)
        nCount = m_nLength - nFirst;
    return CStringW(m_psz + nFirst, nCount);
}

CStringW& CStringW::MakeUpper()
{
    for (int i = 0; i < m_nLength; ++i) {
        if (m_psz[i] >= L'a' && m_psz[i] <= L'z')
            m_psz[i] = static_cast<wchar_t>(m_psz[i] - L'a' + L'A');
    }
    return *this;
}

bool CStringW::EqualsNoCase(const CStringW& other) const
{
    CStringW a(*this), b(other);
    return a.MakeUpper() == b.MakeUpper();
}

bool CStringW::StartsWithNoCase(const CStringW& head) const
{
    return m_nLength >= head.m_nLength && Left(head.m_nLength).EqualsNoCase(head);
}

int FindNoCase(const CStringArrayW& items, const CStringW& item)
{
    for (int i = 0; i < items.GetSize(); ++i) {
        if (items[i].EqualsNoCase(item))
            return i;
    }
    return -1;
}

bool ContainsNoCase(const CStringArrayW& items, const CStringW& item)
{
    return FindNoCase(items, item) >= 0;
}

CStringW JoinLines(const CStringArrayW& items, int nMaxShown)
{
    return JoinLines(items, nMaxShown, CStringW::FromText(kMoreLines));
}
