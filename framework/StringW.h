// Wide (UTF-16) text, as the wide functions of Windows take and give it: paths,
// registry keys and values, the command line, message and log texts. Every
// character of any language is kept; CStringArrayW is its list. The program's
// own texts (GBK) become wide through FromText.
#pragma once

#include <wchar.h>

class CString;

class CStringW {
public:
    CStringW() = default;
    CStringW(const wchar_t* psz);
    CStringW(const wchar_t* p, int nLength);
    CStringW(const CStringW& other);
    ~CStringW();
    CStringW& operator=(const CStringW& other);
    CStringW& operator+=(const CStringW& s);
    CStringW& operator+=(const wchar_t* psz) { return *this += CStringW(psz); }
    CStringW& operator+=(wchar_t ch) { return *this += CStringW(&ch, 1); }
    friend CStringW operator+(const CStringW& a, const CStringW& b) { CStringW r(a); r += b; return r; }
    friend bool operator==(const CStringW& a, const CStringW& b);
    friend bool operator!=(const CStringW& a, const CStringW& b) { return !(a == b); }

    // The program's own text (GBK, code page 936, whatever the system's code
    // page), converted: what the wide functions of Windows take.
    static CStringW FromText(const char* psz);
    // printf-style from one of the program's own formats (GBK); each %s takes a
    // wide text (const wchar_t*), as the wide printf of Windows reads it. Paths
    // of any language pass through whole.
    static CStringW FormatText(const char* pszFormat, ...);
    // UTF-8 bytes (nLength of them), converted.
    static CStringW FromUtf8(const char* p, int nLength);
    // The text as UTF-8 bytes, every character kept (for the log and stored lists).
    CString ToUtf8() const;

    const wchar_t* GetString() const { return m_psz; }
    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    // Position of the first ch from nStart on, or -1.
    int Find(wchar_t ch, int nStart = 0) const;
    CStringW Mid(int nFirst, int nCount) const;
    CStringW Left(int nCount) const { return Mid(0, nCount); }
    // Position of the last ch, or -1.
    int ReverseFind(wchar_t ch) const;
    // ASCII letters only; every other character stays as it is.
    CStringW& MakeUpper();
    // Equal when ASCII letters are compared without regard to case (as Windows
    // compares the names of files it made).
    bool EqualsNoCase(const CStringW& other) const;
    // True when the text begins with head, compared as EqualsNoCase does.
    bool StartsWithNoCase(const CStringW& head) const;

private:
    static CStringW FromCodePage(unsigned int nCodePage, const char* psz);
    void Assign(const wchar_t* p, int n);
    static wchar_t s_empty[1];
    wchar_t* m_psz = s_empty;
    int m_nLength = 0;
};

// A growable list of wide texts (paths of any language).
#include "framework/Array.h"
typedef CArray<CStringW> CStringArrayW;
// The same list of wide texts, as JoinLines of the program's texts shows it.
CStringW JoinLines(const CStringArrayW& items, int nMaxShown);
// The index of the first item equal to item, compared as EqualsNoCase does, or -1.
int FindNoCase(const CStringArrayW& items, const CStringW& item);
// True when the list holds the item, compared as EqualsNoCase does.
bool ContainsNoCase(const CStringArrayW& items, const CStringW& item);
