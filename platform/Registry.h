// The one way the program reaches the Windows registry: key paths, value names
// and texts are wide and go to the wide functions, so that the same keys and
// values are written and read on a Windows of any code page (a caller holding
// one of the program's own texts converts it with CStringW::FromText). A key is
// opened in the program's own view unless the caller names one (a KEY_WOW64_*
// flag in Open's access or Create's samView); every handle is owned by a RegKey.
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

// True for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: data the registry keeps as UTF-16.
bool IsStringType(DWORD dwType);
// String data as the registry keeps it (UTF-16), up to its first NUL.
CStringW StringData(const CString& bytes);

// Owns one open registry key; closes it when destroyed. Move-only.
// Every method answers the registry's own result (ERROR_FILE_NOT_FOUND when a
// key or value is absent); only SubKeyCount, Counts and IsSymbolicLink answer
// plain values, since their callers go on the same way whatever the failure.
class RegKey {
public:
    // How Open reaches the key; combined with |.
    enum OpenFlags : unsigned {
        // REG_OPTION_OPEN_LINK: a symbolic link is opened as the link itself (a
        // key without sub-keys), never followed: a walk over it cannot loop.
        kOpenLink = 1,
        // One level at a time, each relative to the one before, as a walk reached
        // it: a path longer than one registry call accepts (a 255-character key
        // name, hundreds of levels) still opens. Every level but the last is
        // opened with KEY_READ, the last with the access asked for.
        kOneLevelAtATime = 2,
    };

    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // RegOpenKeyExW with the access the caller means to use, view bits included
    // (KEY_WOW64_*): the key's security is checked against exactly that (a later
    // write through a handle opened for less may not be checked again). The
    // empty name opens hParent itself again. On failure the object is left empty.
    WinResult Open(HKEY hParent, const CStringW& strName, REGSAM access, unsigned flags = 0);
    // RegCreateKeyExW with the maximum access allowed: opens the key, creating it
    // and missing parents when absent. samView: 0 (the program's own view) or
    // a KEY_WOW64_* flag. On failure the object is left empty.
    WinResult Create(HKEY hParent, const CStringW& strPath, REGSAM samView = 0);
    void Close();

    bool IsOpen() const { return m_hKey != nullptr; }
    HKEY Get() const { return m_hKey; }

    // Number of direct sub-keys; 0 when the query fails.
    DWORD SubKeyCount() const;
    // Numbers of direct sub-keys and of values, and the length of the longest value
    // name (in characters), in one query; false (all 0) when it fails.
    bool Counts(DWORD* pSubKeys, DWORD* pValues, DWORD* pLongestValueName) const;
    // Name of sub-key nIndex as Windows gives it (up to 255 characters). On
    // failure strName is emptied.
    WinResult EnumSubKey(DWORD nIndex, CStringW& strName) const;
    // The value's type and raw data, of any length. On failure bytes is emptied.
    WinResult QueryRaw(const wchar_t* pszName, DWORD* pType, CString& bytes) const;
    // The value as the program's text: a string value read wide and converted to
    // GBK whole (ERROR_NO_UNICODE_TRANSLATION when GBK cannot hold it, never a
    // '?'); other data taken as text up to its first zero byte. On failure text is emptied.
    WinResult QueryText(const wchar_t* pszName, CString& text) const;
    // The value as UTF-16 text of any length, up to its first NUL, whatever its
    // type. On failure value is emptied.
    WinResult QueryStringW(const wchar_t* pszName, CStringW& value) const;
    // REG_SZ through the wide function, NUL counted: every character survives.
    // On failure the value is left unchanged.
    WinResult SetStringW(const wchar_t* pszName, const CStringW& value);
    // REG_DWORD. On failure the value is left unchanged.
    WinResult SetDword(const wchar_t* pszName, DWORD dwValue);
    // RegDeleteKeyW: fails and changes nothing when the key has sub-keys.
    WinResult DeleteSubKey(const CStringW& strPath);
    // Deletes the sub-key strPath with everything below it. A symbolic link met
    // on the way is deleted as the link itself: what it points to is never
    // touched. Success when the key is gone (also when it was not there); on
    // failure what was deleted below it before stays deleted.
    WinResult DeleteTree(const CStringW& strPath);
    // True when the key (opened as itself) is a symbolic link.
    bool IsSymbolicLink() const;
    // The key's name as the kernel knows it ("\REGISTRY\MACHINE\..."): two
    // handles to one key give the same name however they reached it (a 32-bit
    // program's redirected view, a link); empty when it cannot be read.
    CStringW FullName() const;

private:
    // Takes h when the call that made it succeeded (closing what was held
    // before either way); the call's result, or ERROR_INVALID_HANDLE for no handle.
    WinResult Adopt(LONG r, HKEY h);
    // Opens the levels of strPath one by one (kOneLevelAtATime); options go to
    // every level (with REG_OPTION_OPEN_LINK no link on the way is followed).
    WinResult OpenLevels(HKEY hRoot, const CStringW& strPath, REGSAM access, DWORD options);
    // The value's type and data, asked again until it fits (it may grow between
    // the size and the read). On failure bytes is emptied.
    WinResult QueryData(const wchar_t* pszName, DWORD* pType, CString& bytes) const;
    HKEY m_hKey = nullptr;
};

// The names of a key's direct sub-keys, one by one, in the registry's order: the
// one loop over index, buffer and end of list. A name that cannot be read (the
// key changed meanwhile) is passed over, never taken for the empty name, which
// would open the key itself again.
//     for (RegSubKeys names(key); names.Next();) use(names.Name());
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
    // The current name as Windows gives it.
    const CStringW& Name() const { return m_strName; }
    // What the current sub-key holds, as RegKey::Counts gives it, read from the
    // enumeration without opening the key (a walk that needs nothing of a key
    // with no sub-keys and no such value is spared its three calls). False when
    // Windows cannot tell; the key is then opened as ever. Read by the index
    // Next reached: only after a Next that gave a name, and not below
    // HKEY_CLASSES_ROOT, whose listing merges two trees.
    bool CurrentCounts(DWORD* pSubKeys, DWORD* pValues, DWORD* pLongestValueName) const;

private:
    const RegKey& m_key;
    DWORD m_nCount;
    DWORD m_nIndex = 0;
    CStringW m_strName;
};
