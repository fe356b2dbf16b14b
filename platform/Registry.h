// The one way the program reaches the Windows registry: the wide functions, with
// the program's key paths, names and texts (GBK) converted from code page 936
// explicitly, so that the same keys and values are written and read on a
// Windows of any code page; no registry-view flag; every handle owned by a RegKey.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/WinResult.h"

// The user's hive, whose SOFTWARE the 32-bit and the 64-bit views share on
// Windows, is opened in the 64-bit view by name, so that no redirection hides a
// key from the 32-bit edition (Wine redirects the hive's SOFTWARE for a 32-bit
// program once a Wow6432Node key exists below it). Ignored by a 32-bit Windows.
constexpr REGSAM kUserHiveView = KEY_WOW64_64KEY;

// Owns one open registry key; closes it when destroyed. Move-only.
// An open that fails leaves the object empty (and closes what it held before).
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // RegOpenKeyW: pszPath NULL or empty opens hParent itself again.
    bool Open(HKEY hParent, const char* pszPath);
    // The same, with the registry's own result (ERROR_FILE_NOT_FOUND when absent).
    LONG OpenStatus(HKEY hParent, const char* pszPath);
    LONG OpenStatus(HKEY hParent, const CStringW& strPath);
    // RegOpenKeyExW with the access the caller means to use: the key's security
    // is checked against exactly that (a later write through a handle opened for
    // less may not be checked again).
    LONG OpenAccess(HKEY hParent, const char* pszPath, REGSAM access);
    LONG OpenAccess(HKEY hParent, const CStringW& strPath, REGSAM access);
    // RegOpenKeyExW with KEY_READ; the empty name opens hParent itself again.
    bool OpenRead(HKEY hParent, const char* pszName);
    // The same, but a symbolic link is opened as the link itself (a key without
    // sub-keys), never followed: a walk over it cannot loop.
    bool OpenReadNoLink(HKEY hParent, const char* pszName);
    // The key itself, link or not, with the access given (never followed).
    LONG OpenNoLinkAccess(HKEY hParent, const char* pszName, REGSAM access);
    // Opens a path one key at a time, each relative to the one before, as a walk
    // reached it: a path longer than one registry call accepts (a 255-character
    // key name, hundreds of levels) still opens. Every level but the last is
    // opened for reading, the last with access. The registry's result.
    LONG OpenLevels(HKEY hRoot, const char* pszPath, REGSAM access);
    // RegCreateKeyExW with the maximum access allowed: opens the key, creating it
    // and missing parents when absent. samView: 0 (the program's own view) or
    // a KEY_WOW64_* flag.
    WinResult Create(HKEY hParent, const char* pszPath, REGSAM samView = 0);
    WinResult Create(HKEY hParent, const CStringW& strPath, REGSAM samView = 0);
    void Close();

    bool IsOpen() const { return m_hKey != nullptr; }
    HKEY Get() const { return m_hKey; }

    // Number of direct sub-keys; 0 when the query fails.
    DWORD SubKeyCount() const;
    // Numbers of direct sub-keys and of values, and the length of the longest value
    // name (in characters), in one query; false (all 0) when it fails.
    bool Counts(DWORD* pSubKeys, DWORD* pValues, DWORD* pLongestValueName) const;
    // Name of sub-key nIndex in the program's code page, into a 256-byte buffer;
    // false (buffer emptied) when it cannot be read, or GBK cannot hold it whole.
    bool EnumSubKey(DWORD nIndex, char (&szName)[256]) const;
    // The same name as Windows gives it.
    bool EnumSubKeyW(DWORD nIndex, CStringW& strName) const;
    // The value's type and raw data, of any length. ERROR_SUCCESS, or the
    // registry's error (ERROR_FILE_NOT_FOUND when absent); bytes emptied unless it succeeds.
    LONG QueryRaw(const char* pszName, DWORD* pType, CString& bytes) const;
    // A REG_DWORD value into *pValue (left unchanged unless it succeeds).
    LONG QueryDword(const char* pszName, DWORD* pValue) const;
    // The value as the program's text: a string value read wide and converted to
    // GBK whole (ERROR_NO_UNICODE_TRANSLATION when GBK cannot hold it, never a
    // '?'); other data taken as text up to its first zero byte.
    LONG QueryText(const char* pszName, CString& text) const;
    // REG_SZ with the terminating NUL counted.
    WinResult SetString(const char* pszName, const char* pszValue);
    // The value as UTF-16 text of any length, up to its first NUL, whatever its
    // type. ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when absent, or another error;
    // value is emptied unless it succeeds.
    LONG QueryStringW(const wchar_t* pszName, CStringW& value) const;
    // REG_SZ through the wide function, NUL counted: every character survives.
    WinResult SetStringW(const wchar_t* pszName, const CStringW& value);
    WinResult SetDword(const char* pszName, DWORD dwValue);
    // RegDeleteKeyW: fails and changes nothing when the key has sub-keys.
    WinResult DeleteSubKey(const char* pszPath);
    // Deletes the sub-key pszPath with everything below it. A symbolic link met
    // on the way is deleted as the link itself: what it points to is never
    // touched. Success when the key is gone (also when it was not there).
    WinResult DeleteTree(const char* pszPath);
    // True when the key (opened as itself) is a symbolic link.
    bool IsSymbolicLink() const;

private:
    // Takes h when the call that made it succeeded (closing what was held
    // before either way); the call's result, or ERROR_INVALID_HANDLE for no handle.
    LONG Adopt(LONG r, HKEY h);
    HKEY m_hKey = nullptr;
};

// The names of a key's direct sub-keys, one by one, in the registry's order: the
// one loop over index, buffer and end of list. A name that cannot be read (the
// key changed meanwhile) is passed over, never taken for the empty name, which
// would open the key itself again.
//     for (RegSubKeys names(key); names.Next();) use(names.Name());
// True for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: data the registry keeps as UTF-16.
bool IsStringType(DWORD dwType);

class RegSubKeys {
public:
    // Counts the sub-keys once; none when the key cannot tell.
    explicit RegSubKeys(const RegKey& key);
    // The count is known already (from RegKey::Counts).
    RegSubKeys(const RegKey& key, DWORD nCount);
    RegSubKeys(const RegSubKeys&) = delete;
    RegSubKeys& operator=(const RegSubKeys&) = delete;

    // Moves to the next readable name; false when there is none left.
    bool Next();
    const char* Name() const { return m_szName; }

private:
    const RegKey& m_key;
    DWORD m_nCount;
    DWORD m_nIndex = 0;
    char m_szName[256] = {};
};
