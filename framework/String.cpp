#include "framework/String.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char CString::s_empty[1] = {'\0'};

namespace {

// The program cannot go on without memory; it throws nothing.
void* CheckedRealloc(void* p, size_t cb)
{
    void* q = std::realloc(p, cb);
    if (!q)
        std::abort();
    return q;
}

} // namespace

CString CString::FromWide(const wchar_t* p, int nLength)
{
    CString out;
    if (!p || nLength == 0)
        return out;
    const int n = WideCharToMultiByte(kTextCodePage, 0, p, nLength, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return out;
    char* q = out.GetBuffer(n);
    WideCharToMultiByte(kTextCodePage, 0, p, nLength, q, n, nullptr, nullptr);
    q[n] = '\0';
    out.ReleaseBuffer();  // up to the first NUL: a counted text gets none of its own
    return out;
}

bool CString::FromWideExact(const wchar_t* p, int nLength, CString& out)
{
    out.Empty();
    if (!p || nLength == 0)
        return true;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, p, nLength, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    char* q = out.GetBuffer(n);
    WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, p, nLength, q, n, nullptr, &usedDefault);
    q[n] = '\0';
    out.ReleaseBuffer();
    if (!usedDefault)
        return true;
    out.Empty();
    return false;
}

bool CString::IsLeadByte(unsigned char ch)
{
    return ch >= 0x80 && IsDBCSLeadByteEx(kTextCodePage, ch) != FALSE;
}

int CString::CharLength(int i) const
{
    // A lead byte at the very end (a cut text) stands alone.
    return (IsLeadByte(static_cast<unsigned char>(m_psz[i])) && i + 1 < m_nLength) ? 2 : 1;
}

CString::CString(const char* psz)
{
    if (psz)
        Append(psz, static_cast<int>(std::strlen(psz)));
}

CString::CString(const char* p, int nLength)
{
    if (p && nLength > 0)
        Append(p, nLength);
}

CString::CString(const CString& other)
{
    Append(other.m_psz, other.m_nLength);
}

CString::CString(CString&& other) noexcept
    : m_psz(other.m_psz), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity)
{
    other.m_psz = s_empty;
    other.m_nLength = 0;
    other.m_nCapacity = 0;
}

CString::~CString()
{
    if (m_nCapacity)
        std::free(m_psz);
}

CString& CString::operator=(const CString& other)
{
    if (this != &other) {
        m_nLength = 0;
        Append(other.m_psz, other.m_nLength);
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        if (m_nCapacity)
            std::free(m_psz);
        m_psz = other.m_psz;
        m_nLength = other.m_nLength;
        m_nCapacity = other.m_nCapacity;
        other.m_psz = s_empty;
        other.m_nLength = 0;
        other.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    const CString copy(psz);  // psz may point into this string
    return *this = copy;
}

CString& CString::operator+=(const char* psz)
{
    if (psz) {
        const CString copy(psz);
        Append(copy.m_psz, copy.m_nLength);
    }
    return *this;
}

bool operator==(const CString& a, const char* b)
{
    return a.Equals(b ? b : "", b ? static_cast<int>(std::strlen(b)) : 0);
}

bool CString::Equals(const char* p, int n) const
{
    return n == m_nLength && std::memcmp(m_psz, p, static_cast<size_t>(n)) == 0;
}

void CString::Reserve(int nLength)
{
    if (nLength < m_nCapacity)
        return;
    int capacity = m_nCapacity ? m_nCapacity : 16;
    while (capacity <= nLength)
        capacity *= 2;
    char* p = static_cast<char*>(CheckedRealloc(m_nCapacity ? m_psz : nullptr, static_cast<size_t>(capacity)));
    if (!m_nCapacity)
        p[0] = '\0';
    m_psz = p;
    m_nCapacity = capacity;
}

void CString::Append(const char* p, int n)
{
    if (n <= 0) {
        if (m_nCapacity)
            m_psz[m_nLength] = '\0';
        return;
    }
    if (p >= m_psz && p < m_psz + m_nLength + 1) {  // appending a part of itself
        const CString copy(p, n);
        Append(copy.m_psz, n);
        return;
    }
    Reserve(m_nLength + n);
    std::memcpy(m_psz + m_nLength, p, static_cast<size_t>(n));
    m_nLength += n;
    m_psz[m_nLength] = '\0';
}

void CString::Empty()
{
    m_nLength = 0;
    if (m_nCapacity)
        m_psz[0] = '\0';
}

char* CString::GetBuffer(int nMinLength)
{
    Reserve(nMinLength > m_nLength ? nMinLength : m_nLength);
    return m_psz;
}

void CString::ReleaseBuffer()
{
    if (m_nCapacity) {
        m_psz[m_nCapacity - 1] = '\0';
        m_nLength = static_cast<int>(std::strlen(m_psz));
    }
}

void CString::Format(const char* pszFormat, ...)
{
    // The C runtime's own formatting (not the C99 emulation, which alone is
    // larger than the program's logic).
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    const int n = _vscprintf(pszFormat, copy);
    va_end(copy);
    m_nLength = 0;
    if (n > 0) {
        Reserve(n);
        _vsnprintf(m_psz, static_cast<size_t>(n) + 1, pszFormat, args);
        m_nLength = n;
    }
    if (m_nCapacity)
        m_psz[m_nLength] = '\0';
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
    const int n = static_cast<int>(std::strlen(pszSub));
    for (int i = 0; i + n <= m_nLength; i += CharLength(i)) {
        if (i >= nStart && std::memcmp(m_psz + i, pszSub, static_cast<size_t>(n)) == 0)
            return i;
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    if (IsLeadByte(static_cast<unsigned char>(ch)))
        return -1;
    int found = -1;
    for (int i = 0; i < m_nLength; i += CharLength(i)) {
        if (m_psz[i] == ch)
            found = i;
    }
    return found;
}

bool CString::EndsWithChar(char ch) const
{
    int last = -1;
    for (int i = 0; i < m_nLength; i += CharLength(i))
        last = i;
    return last >= 0 && last == m_nLength - 1 && m_psz[last] == ch;
}

void StripTrailingBackslash(CString& str)
{
    const int pos = str.ReverseFind('\\');
    if (pos > 0 && pos == str.GetLength() - 1)
        str.Delete(pos);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= m_nLength || nCount <= 0)
        return CString();
    if (nCount > m_nLength - nFirst)
        nCount = m_nLength - nFirst;
    return CString(m_psz + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount <= 0)
        return CString();
    if (nCount >= m_nLength)
        return *this;
    return Mid(m_nLength - nCount, nCount);
}

void CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0 || nIndex >= m_nLength || nCount <= 0)
        return;
    if (nCount > m_nLength - nIndex)
        nCount = m_nLength - nIndex;
    std::memmove(m_psz + nIndex, m_psz + nIndex + nCount,
                 static_cast<size_t>(m_nLength - nIndex - nCount + 1));
    m_nLength -= nCount;
}

CString& CString::MakeUpper()
{
    for (int i = 0; i < m_nLength; i += CharLength(i)) {
        char& c = m_psz[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return *this;
}

CString& CString::MakeLower()
{
    for (int i = 0; i < m_nLength; i += CharLength(i)) {
        char& c = m_psz[i];
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
    const int r = std::strcmp(a.m_psz, b.m_psz);
    return r < 0 ? -1 : (r == 0 ? 0 : 1);
}

CString JoinLines(const CStringArray& items, int nMaxShown)
{
    return JoinLines(items, nMaxShown, CString(kMoreLines));
}
