// Narrow string in the system's ANSI code page (GBK on the machines we serve).
// Searches and case changes walk whole characters: the second byte of a
// double-byte character never matches a single-byte character such as '\'.
#pragma once

#include <string>
#include <vector>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* p, int nLength) : m_str(p, nLength > 0 ? nLength : 0) {}
    CString(const std::string& s) : m_str(s) {}

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(const char* psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    const std::string& Std() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }
    char operator[](int i) const { return GetAt(i); }

    // printf-style; the text may be of any length.
    void Format(const char* pszFormat, ...);

    // Position of the first occurrence at a character boundary from nStart on, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    // Position of the last single-byte ch at a character boundary, or -1.
    int ReverseFind(char ch) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    // Removes nCount bytes at nIndex (clamped to the text).
    void Delete(int nIndex, int nCount = 1);

    // ASCII letters only; double-byte characters stay whole.
    CString& MakeUpper();
    CString& MakeLower();
    // Like strcmp, ASCII letters compared without regard to case, character by character.
    int CompareNoCase(const char* psz) const;

    // True when the byte at i is the first byte of a double-byte character.
    static bool IsLeadByte(unsigned char ch);
    // True when the last character of the text is the single-byte ch.
    bool EndsWithChar(char ch) const;

private:
    // Start offset of every character, in order.
    std::vector<int> CharStarts() const;
    std::string m_str;
};

// Growable array of narrow strings, indexed from 0, appended at the end.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    const CString& GetAt(int i) const { return m_items[static_cast<size_t>(i)]; }
    const CString& operator[](int i) const { return GetAt(i); }
    int Add(const CString& s) { m_items.push_back(s); return GetSize() - 1; }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<CString> m_items;
};
