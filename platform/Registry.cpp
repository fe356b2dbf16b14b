#include "platform/Registry.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

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

WinResult RegKey::Adopt(LONG r, HKEY h)
{
    Close();
    if (r != ERROR_SUCCESS)
        return WinResult::FromStatus(r);
    if (!h)
        return WinResult(ERROR_INVALID_HANDLE);
    m_hKey = h;
    return WinResult();
}

WinResult RegKey::Open(HKEY hParent, const CStringW& strName, REGSAM access, unsigned flags)
{
    const DWORD options = (flags & kOpenLink) ? REG_OPTION_OPEN_LINK : 0;
    if (flags & kOneLevelAtATime)
        return OpenLevels(hParent, strName, access, options);
    HKEY h = nullptr;
    const LONG r = RegOpenKeyExW(hParent, strName.GetString(), options, access, &h);
    return Adopt(r, h);
}

WinResult RegKey::OpenLevels(HKEY hRoot, const CStringW& strPath, REGSAM access, DWORD options)
{
    CStringArrayW names;
    for (int start = 0; start <= strPath.GetLength();) {
        int end = strPath.Find(L'\\', start);
        if (end < 0)
            end = strPath.GetLength();
        if (end > start)
            names.Add(strPath.Mid(start, end - start));
        start = end + 1;
    }
    if (names.IsEmpty())
        names.Add(CStringW());  // the root itself again
    RegKey current;
    for (int i = 0; i < names.GetSize(); ++i) {
        const bool last = i + 1 == names.GetSize();
        HKEY h = nullptr;
        const LONG r = RegOpenKeyExW(i == 0 ? hRoot : current.Get(), names[i].GetString(), options,
                                     last ? access : KEY_READ, &h);
        const WinResult opened = current.Adopt(r, h);
        if (!opened) {
            Close();
            return opened;
        }
    }
    *this = static_cast<RegKey&&>(current);
    return WinResult();
}

WinResult RegKey::Create(HKEY hParent, const CStringW& strPath, REGSAM samView)
{
    HKEY h = nullptr;
    const LONG r = RegCreateKeyExW(hParent, strPath.GetString(), 0, nullptr, 0, MAXIMUM_ALLOWED | samView,
                                   nullptr, &h, nullptr);
    return Adopt(r, h);
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

WinResult RegKey::EnumSubKey(DWORD nIndex, CStringW& strName) const
{
    strName = CStringW();
    wchar_t szName[256] = {};  // a key name has at most 255 characters
    DWORD cch = 256;
    const LONG r = RegEnumKeyExW(m_hKey, nIndex, szName, &cch, nullptr, nullptr, nullptr, nullptr);
    if (r != ERROR_SUCCESS)
        return WinResult::FromStatus(r);
    strName = CStringW(szName, static_cast<int>(wcsnlen(szName, 256)));
    return WinResult();
}

WinResult RegKey::QueryData(const wchar_t* pszName, DWORD* pType, CString& bytes) const
{
    bytes = CString();
    *pType = REG_NONE;
    // The value may change size between the two calls: ask again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD cb = 0;
        LONG r = RegQueryValueExW(m_hKey, pszName, nullptr, pType, nullptr, &cb);
        if (r != ERROR_SUCCESS)
            return WinResult::FromStatus(r);
        // Room for a UTF-16 terminator the data may lack.
        char* buf = static_cast<char*>(calloc(cb + sizeof(wchar_t), 1));
        if (!buf)
            return WinResult(ERROR_OUTOFMEMORY);
        DWORD cbRead = cb;
        r = RegQueryValueExW(m_hKey, pszName, nullptr, pType, reinterpret_cast<BYTE*>(buf), &cbRead);
        if (r == ERROR_SUCCESS)
            bytes = CString(buf, static_cast<int>(cbRead));
        free(buf);
        if (r != ERROR_MORE_DATA)
            return WinResult::FromStatus(r);
    }
    return WinResult(ERROR_MORE_DATA);
}

WinResult RegKey::QueryRaw(const wchar_t* pszName, DWORD* pType, CString& bytes) const
{
    return QueryData(pszName, pType, bytes);
}

bool IsStringType(DWORD dwType)
{
    return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ;
}

CStringW StringData(const CString& bytes)
{
    const wchar_t* p = reinterpret_cast<const wchar_t*>(bytes.GetString());
    return CStringW(p, static_cast<int>(wcsnlen(p, static_cast<size_t>(bytes.GetLength()) / sizeof(wchar_t))));
}

WinResult RegKey::QueryText(const wchar_t* pszName, CString& text) const
{
    text = CString();
    DWORD type = REG_NONE;
    CString bytes;
    const WinResult read = QueryRaw(pszName, &type, bytes);
    if (!read)
        return read;
    if (!IsStringType(type)) {
        text = CString(bytes.GetString());  // up to the first zero byte
        return WinResult();
    }
    const CStringW wide = StringData(bytes);
    if (!CString::FromWideExact(wide.GetString(), wide.GetLength(), text))
        return WinResult(ERROR_NO_UNICODE_TRANSLATION);
    return WinResult();
}

WinResult RegKey::QueryStringW(const wchar_t* pszName, CStringW& value) const
{
    value = CStringW();
    DWORD type = REG_NONE;
    CString bytes;
    const WinResult read = QueryData(pszName, &type, bytes);
    if (read)
        value = StringData(bytes);
    return read;
}

WinResult RegKey::SetStringW(const wchar_t* pszName, const CStringW& value)
{
    const DWORD cb = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    return WinResult::FromStatus(
        RegSetValueExW(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()), cb));
}

WinResult RegKey::SetDword(const wchar_t* pszName, DWORD dwValue)
{
    return WinResult::FromStatus(RegSetValueExW(m_hKey, pszName, 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue));
}

WinResult RegKey::DeleteSubKey(const CStringW& strPath)
{
    return WinResult::FromStatus(RegDeleteKeyW(m_hKey, strPath.GetString()));
}

// Deletes the key a handle holds, whatever the key is: the only way to delete a
// registry link itself.
extern "C" LONG NTAPI NtDeleteKey(HANDLE hKey);

CStringW RegKey::FullName() const
{
    // NtQueryKey(KeyNameInformation): a ULONG byte count, then the name.
    typedef LONG(NTAPI * QueryKeyFn)(HANDLE, int, void*, ULONG, ULONG*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto query =
        ntdll ? reinterpret_cast<QueryKeyFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryKey"))) : nullptr;
    constexpr int kKeyNameInformation = 3;
    alignas(8) unsigned char buffer[2048];
    ULONG cb = 0;
    if (!m_hKey || !query || query(m_hKey, kKeyNameInformation, buffer, sizeof buffer, &cb) != 0)
        return CStringW();
    ULONG bytes = 0;
    memcpy(&bytes, buffer, sizeof bytes);
    if (bytes > sizeof buffer - sizeof bytes)
        return CStringW();
    return CStringW(reinterpret_cast<const wchar_t*>(buffer + sizeof bytes), static_cast<int>(bytes / sizeof(wchar_t)));
}

bool RegKey::IsSymbolicLink() const
{
    DWORD type = 0;
    return RegQueryValueExW(m_hKey, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

namespace {

// Opened as itself, for deleting: a link is the link, never what it points to.
constexpr REGSAM kDeleteAccess = KEY_READ | DELETE;

// Deletes the key (opened as itself, with DELETE) after everything below it.
WinResult DeleteOpenedTree(const RegKey& key)
{
    if (!key.IsSymbolicLink()) {
        // Always the first sub-key: each one deleted moves the next into its place.
        for (int guard = 0; guard < 100000; ++guard) {
            CStringW name;
            if (!key.EnumSubKey(0, name))
                break;
            RegKey child;
            const WinResult opened = child.Open(key.Get(), name, kDeleteAccess, RegKey::kOpenLink);
            if (!opened)
                return opened;
            const WinResult gone = DeleteOpenedTree(child);
            if (!gone)
                return gone;
        }
    }
    return WinResult::FromNtStatus(NtDeleteKey(key.Get()));
}

} // namespace

WinResult RegKey::DeleteTree(const CStringW& strPath)
{
    RegKey key;
    const WinResult opened = key.Open(m_hKey, strPath, kDeleteAccess, kOpenLink);
    if (opened.Code() == ERROR_FILE_NOT_FOUND)
        return WinResult();
    if (!opened)
        return opened;
    return DeleteOpenedTree(key);
}

RegSubKeys::RegSubKeys(const RegKey& key)
    : RegSubKeys(key, key.SubKeyCount())
{
}

RegSubKeys::RegSubKeys(const RegKey& key, DWORD nCount)
    : m_key(key), m_nCount(nCount)
{
}

// NtEnumerateKey(KeyFullInformation): the sub-key's KEY_FULL_INFORMATION.
extern "C" LONG NTAPI NtEnumerateKey(HANDLE hKey, ULONG nIndex, int nClass, void* pInfo, ULONG cbInfo,
                                     ULONG* pcbResult);

bool RegSubKeys::CurrentCounts(DWORD* pSubKeys, DWORD* pValues, DWORD* pLongestValueName) const
{
    *pSubKeys = 0;
    *pValues = 0;
    *pLongestValueName = 0;
    struct FullInformation {  // KEY_FULL_INFORMATION up to its class name
        LARGE_INTEGER lastWrite;
        ULONG nTitleIndex, nClassOffset, nClassLength, nSubKeys, nMaxNameLength, nMaxClassLength, nValues,
            nMaxValueNameBytes, nMaxValueDataLength;
    };
    constexpr int kKeyFullInformation = 2;
    // Room for a class name too: a sub-key that has one longer than this is opened instead.
    alignas(8) unsigned char buffer[sizeof(FullInformation) + 512];
    // Its fields' end, not the structure's size, which rounds up to the time stamp's alignment.
    constexpr ULONG kFixedPart = offsetof(FullInformation, nMaxValueDataLength) + sizeof(ULONG);
    ULONG cb = 0;
    if (m_nIndex == 0 || !m_key.Get() ||
        NtEnumerateKey(m_key.Get(), m_nIndex - 1, kKeyFullInformation, buffer, sizeof buffer, &cb) != 0 ||
        cb < kFixedPart)
        return false;
    FullInformation info = {};
    memcpy(&info, buffer, kFixedPart);
    *pSubKeys = info.nSubKeys;
    *pValues = info.nValues;
    *pLongestValueName = info.nMaxValueNameBytes / sizeof(wchar_t);  // as RegQueryInfoKeyW counts it
    return true;
}

bool RegSubKeys::Next()
{
    while (m_nIndex < m_nCount) {
        if (m_key.EnumSubKey(m_nIndex++, m_strName))
            return true;
    }
    m_strName = CStringW();
    return false;
}
