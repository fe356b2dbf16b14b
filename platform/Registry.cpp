#include "platform/Registry.h"

#include <cstdlib>
#include <cstring>

namespace {

// A key path or value name of the program (GBK), as the wide functions take it:
// converted from code page 936 whatever the system's, so the same keys are
// reached on every Windows.
CStringW Wide(const char* psz)
{
    return CStringW::FromText(psz);
}

} // namespace

RegKey& RegKey::operator=(RegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_hKey = other.m_hKey;
        other.m_hKey = nullptr;
    }
    return *this;
}

void RegKey::Close()
{
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

LONG RegKey::Adopt(LONG r, HKEY h)
{
    Close();
    if (r != ERROR_SUCCESS || !h)
        return r != ERROR_SUCCESS ? r : ERROR_INVALID_HANDLE;
    m_hKey = h;
    return ERROR_SUCCESS;
}

bool RegKey::Open(HKEY hParent, const char* pszPath)
{
    return OpenStatus(hParent, pszPath) == ERROR_SUCCESS;
}

LONG RegKey::OpenStatus(HKEY hParent, const char* pszPath)
{
    return OpenStatus(hParent, Wide(pszPath));
}

LONG RegKey::OpenStatus(HKEY hParent, const CStringW& strPath)
{
    HKEY h = nullptr;
    const LONG r = RegOpenKeyW(hParent, strPath.GetString(), &h);
    return Adopt(r, h);
}

LONG RegKey::OpenAccess(HKEY hParent, const char* pszPath, REGSAM access)
{
    return OpenAccess(hParent, Wide(pszPath), access);
}

LONG RegKey::OpenAccess(HKEY hParent, const CStringW& strPath, REGSAM access)
{
    HKEY h = nullptr;
    const LONG r = RegOpenKeyExW(hParent, strPath.GetString(), 0, access, &h);
    return Adopt(r, h);
}

bool RegKey::OpenRead(HKEY hParent, const char* pszName)
{
    return OpenAccess(hParent, pszName, KEY_READ) == ERROR_SUCCESS;
}

bool RegKey::OpenReadNoLink(HKEY hParent, const char* pszName)
{
    return OpenNoLinkAccess(hParent, pszName, KEY_READ) == ERROR_SUCCESS;
}

LONG RegKey::OpenLevels(HKEY hRoot, const char* pszPath, REGSAM access)
{
    CStringArray names;
    const CString path(pszPath);
    for (int start = 0; start <= path.GetLength();) {
        int end = path.Find('\\', start);
        if (end < 0)
            end = path.GetLength();
        if (end > start)
            names.Add(path.Mid(start, end - start));
        start = end + 1;
    }
    if (names.IsEmpty())
        return OpenAccess(hRoot, "", access);
    RegKey current;
    for (int i = 0; i < names.GetSize(); ++i) {
        RegKey next;
        const bool last = i + 1 == names.GetSize();
        const LONG r = next.OpenAccess(i == 0 ? hRoot : current.Get(), names[i], last ? access : KEY_READ);
        if (r != ERROR_SUCCESS) {
            Close();
            return r;
        }
        current = static_cast<RegKey&&>(next);
    }
    *this = static_cast<RegKey&&>(current);
    return ERROR_SUCCESS;
}

LONG RegKey::OpenNoLinkAccess(HKEY hParent, const char* pszName, REGSAM access)
{
    HKEY h = nullptr;
    const LONG r = RegOpenKeyExW(hParent, Wide(pszName).GetString(), REG_OPTION_OPEN_LINK, access, &h);
    return Adopt(r, h);
}

WinResult RegKey::Create(HKEY hParent, const char* pszPath, REGSAM samView)
{
    return Create(hParent, Wide(pszPath), samView);
}

WinResult RegKey::Create(HKEY hParent, const CStringW& strPath, REGSAM samView)
{
    HKEY h = nullptr;
    const LONG r = RegCreateKeyExW(hParent, strPath.GetString(), 0, nullptr, 0, MAXIMUM_ALLOWED | samView, nullptr,
                                   &h, nullptr);
    return WinResult::FromStatus(Adopt(r, h));
}

DWORD RegKey::SubKeyCount() const
{
    DWORD count = 0;
    if (RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count;
}

bool RegKey::Counts(DWORD* pSubKeys, DWORD* pValues, DWORD* pLongestValueName) const
{
    *pSubKeys = 0;
    *pValues = 0;
    *pLongestValueName = 0;
    if (RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, pSubKeys, nullptr, nullptr, pValues,
                         pLongestValueName, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        return true;
    *pSubKeys = 0;
    *pValues = 0;
    *pLongestValueName = 0;
    return false;
}

bool RegKey::EnumSubKeyW(DWORD nIndex, CStringW& strName) const
{
    wchar_t szName[256] = {};
    DWORD cch = 256;
    strName = CStringW();
    if (RegEnumKeyExW(m_hKey, nIndex, szName, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    strName = CStringW(szName, static_cast<int>(wcsnlen(szName, 256)));
    return true;
}

bool RegKey::EnumSubKey(DWORD nIndex, char (&szName)[256]) const
{
    std::memset(szName, 0, sizeof szName);
    CStringW wide;
    CString text;
    // A name the program's texts cannot hold whole is passed over like one that
    // cannot be read: opened by a look-alike, it would be another key.
    if (!EnumSubKeyW(nIndex, wide) || !CString::FromWideExact(wide.GetString(), wide.GetLength(), text) ||
        text.GetLength() >= static_cast<int>(sizeof szName))
        return false;
    std::memcpy(szName, text.GetString(), static_cast<size_t>(text.GetLength()));
    return true;
}

LONG RegKey::QueryRaw(const char* pszName, DWORD* pType, CString& bytes) const
{
    bytes = CString();
    *pType = REG_NONE;
    const CStringW name = Wide(pszName);
    // The value may change size between the two calls: ask again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD cb = 0;
        LONG r = RegQueryValueExW(m_hKey, name.GetString(), nullptr, pType, nullptr, &cb);
        if (r != ERROR_SUCCESS)
            return r;
        char* buf = static_cast<char*>(calloc(cb + sizeof(wchar_t), 1));
        if (!buf)
            return ERROR_OUTOFMEMORY;
        DWORD cbRead = cb;
        r = RegQueryValueExW(m_hKey, name.GetString(), nullptr, pType, reinterpret_cast<BYTE*>(buf), &cbRead);
        if (r == ERROR_SUCCESS)
            bytes = CString(buf, static_cast<int>(cbRead));
        free(buf);
        if (r != ERROR_MORE_DATA)
            return r;
    }
    return ERROR_MORE_DATA;
}

LONG RegKey::QueryDword(const char* pszName, DWORD* pValue) const
{
    DWORD value = 0, type = REG_NONE, cb = sizeof value;
    const LONG r = RegQueryValueExW(m_hKey, Wide(pszName).GetString(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &cb);
    if (r != ERROR_SUCCESS)
        return r;
    if (type != REG_DWORD || cb != sizeof value)
        return ERROR_INVALID_DATA;
    *pValue = value;
    return ERROR_SUCCESS;
}

bool IsStringType(DWORD dwType)
{
    return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ;
}

LONG RegKey::QueryText(const char* pszName, CString& text) const
{
    text = CString();
    DWORD type = REG_NONE;
    CString bytes;
    const LONG r = QueryRaw(pszName, &type, bytes);
    if (r != ERROR_SUCCESS)
        return r;
    if (!IsStringType(type)) {
        text = CString(bytes.GetString());  // up to the first zero byte
        return ERROR_SUCCESS;
    }
    const wchar_t* p = reinterpret_cast<const wchar_t*>(bytes.GetString());
    const int cch = static_cast<int>(wcsnlen(p, static_cast<size_t>(bytes.GetLength()) / sizeof(wchar_t)));
    return CString::FromWideExact(p, cch, text) ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION;
}

WinResult RegKey::SetString(const char* pszName, const char* pszValue)
{
    return SetStringW(Wide(pszName).GetString(), Wide(pszValue));
}

WinResult RegKey::SetDword(const char* pszName, DWORD dwValue)
{
    return WinResult::FromStatus(RegSetValueExW(m_hKey, Wide(pszName).GetString(), 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue));
}

WinResult RegKey::DeleteSubKey(const char* pszPath)
{
    return WinResult::FromStatus(RegDeleteKeyW(m_hKey, Wide(pszPath).GetString()));
}

// Deletes the key a handle holds, whatever the key is: the only way to delete a
// registry link itself.
extern "C" LONG NTAPI NtDeleteKey(HANDLE hKey);

bool RegKey::IsSymbolicLink() const
{
    DWORD type = 0;
    return RegQueryValueExW(m_hKey, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

namespace {

// Deletes the key (opened as itself, with DELETE) after everything below it.
WinResult DeleteOpenedTree(const RegKey& key)
{
    if (!key.IsSymbolicLink()) {
        // Always the first sub-key: each one deleted moves the next into its place.
        for (int guard = 0; guard < 100000; ++guard) {
            char szName[256];
            if (!key.EnumSubKey(0, szName))
                break;
            RegKey child;
            const LONG opened = child.OpenNoLinkAccess(key.Get(), szName, KEY_READ | DELETE);
            if (opened != ERROR_SUCCESS)
                return WinResult::FromStatus(opened);
            const WinResult gone = DeleteOpenedTree(child);
            if (!gone)
                return gone;
        }
    }
    return WinResult::FromNtStatus(NtDeleteKey(key.Get()));
}

} // namespace

WinResult RegKey::DeleteTree(const char* pszPath)
{
    RegKey key;
    const LONG opened = key.OpenNoLinkAccess(m_hKey, pszPath, KEY_READ | DELETE);
    if (opened == ERROR_FILE_NOT_FOUND)
        return WinResult();
    if (opened != ERROR_SUCCESS)
        return WinResult::FromStatus(opened);
    return DeleteOpenedTree(key);
}

LONG RegKey::QueryStringW(const wchar_t* pszName, CStringW& value) const
{
    value = CStringW();
    // The value may change size between the two calls: ask again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD cb = 0;
        LONG r = RegQueryValueExW(m_hKey, pszName, nullptr, nullptr, nullptr, &cb);
        if (r != ERROR_SUCCESS)
            return r;
        const DWORD cch = cb / sizeof(wchar_t) + 1;
        wchar_t* buf = static_cast<wchar_t*>(calloc(cch, sizeof(wchar_t)));
        if (!buf)
            return ERROR_OUTOFMEMORY;
        DWORD cbRead = cb;
        r = RegQueryValueExW(m_hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cbRead);
        if (r == ERROR_SUCCESS)
            value = CStringW(buf, static_cast<int>(wcsnlen(buf, cbRead / sizeof(wchar_t))));
        free(buf);
        if (r != ERROR_MORE_DATA)
            return r;
    }
    return ERROR_MORE_DATA;
}

WinResult RegKey::SetStringW(const wchar_t* pszName, const CStringW& value)
{
    const DWORD cb = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    return WinResult::FromStatus(
        RegSetValueExW(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()), cb));
}

RegSubKeys::RegSubKeys(const RegKey& key)
    : RegSubKeys(key, key.SubKeyCount())
{
}

RegSubKeys::RegSubKeys(const RegKey& key, DWORD nCount)
    : m_key(key), m_nCount(nCount)
{
}

bool RegSubKeys::Next()
{
    while (m_nIndex < m_nCount) {
        if (m_key.EnumSubKey(m_nIndex++, m_szName))
            return true;
    }
    m_szName[0] = '\0';
    return false;
}
