// The program's own texts: narrow strings in GBK (code page 936) whatever the
// system's code page, which reach Windows through the wide functions
// (CStringW::FromText), and CStringArray, their list. Searches and case changes
// walk whole characters: the second byte of a double-byte character never
// matches a single-byte character such as '\'. The buffer is the framework's own
// (no C++ library string), so the programs carry none of the library's
// exception and locale machinery.
#pragma once

#include <string>

#include "framework/Array.h"

// The code page of the program's texts (and of the file names it handles), on
// any Windows: GBK.
constexpr unsigned int kTextCodePage = 936;

class CString {
public:
    CString() = default;
    CString(const char* psz);
    CString(const char* p, int nLength);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* psz);
    CString& operator+=(const CString& s) { Append(s.m_psz, s.m_nLength); return *this; }
    CString& operator+=(const char* psz);
    CString& operator+=(char ch) { Append(&ch, 1); return *this; }

    friend CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.Equals(b.m_psz, b.m_nLength); }
    friend bool operator==(const CString& a, const char* b);
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

    operator const char*() const { return m_psz; }
    const char* GetString() const { return m_psz; }
    // For tests, which compare with std::string (inline: the programs never use it).
    std::string Std() const { return std::string(m_psz, static_cast<size_t>(m_nLength)); }

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    char GetAt(int i) const { return m_psz[i]; }
    char operator[](int i) const { return GetAt(i); }

    // A writable buffer of at least nMinLength bytes plus the terminator;
    // ReleaseBuffer then takes the text up to its first zero byte.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer();

    // UTF-16 text (nLength characters, -1: up to its NUL) in the program's code
    // page; a character GBK lacks becomes '?'. Only for texts that are the
    // program's own; a name from Windows goes through FromWideExact.
    static CString FromWide(const wchar_t* p, int nLength = -1);
    // The same, but false (out emptied) when a character has no GBK form: a path
    // never silently gets a '?' or a look-alike.
    static bool FromWideExact(const wchar_t* p, int nLength, CString& out);

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

    // True when the byte is the first byte of a double-byte GBK character.
    static bool IsLeadByte(unsigned char ch);
    // True when the last character of the text is the single-byte ch.
    bool EndsWithChar(char ch) const;
    // Length in bytes of the character that starts at byte i (1 or 2).
    int CharLength(int i) const;

private:
    void Append(const char* p, int n);
    bool Equals(const char* p, int n) const;
    // Makes room for nLength bytes and the terminator; keeps the text.
    void Reserve(int nLength);

    static char s_empty[1];
    char* m_psz = s_empty;
    int m_nLength = 0;
    int m_nCapacity = 0;  // 0: m_psz is the shared empty text
};

// Removes one trailing backslash unless it is the only character: "C:\ACAD\"
// becomes "C:\ACAD", "D:\" becomes "D:", "\" stays. Only a real backslash
// counts: a double-byte character ending in 0x5C stays whole. The one rule for
// every folder the programs keep without its trailing backslash.
void StripTrailingBackslash(CString& str);

// A growable list of the program's texts.
typedef CArray<CString> CStringArray;
// What a list shown in a message box ends with when it holds more than it shows.
constexpr char kMoreLines[] = "……\n";
// The first nMaxShown items, each followed by a line break, and "……" for the
// rest: a list a message box can show without becoming a wall of text.
CString JoinLines(const CStringArray& items, int nMaxShown);
