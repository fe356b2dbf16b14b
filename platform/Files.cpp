#include "platform/Files.h"

#include <cstdlib>
#include <cstring>

namespace {

// Windows' own limit for a path without the \\?\ prefix, NUL included.
constexpr size_t kMaxPath = MAX_PATH;

CStringW Wide(const char* psz)
{
    return CStringW::FromText(psz);
}

} // namespace

bool FileFinder::First(const char* pszPattern)
{
    Close();
    // A pattern longer than a path is refused, as Windows refuses it.
    if (!pszPattern || std::strlen(pszPattern) >= kMaxPath)
        return false;
    m_hFind = FindFirstFileW(Wide(pszPattern).GetString(), &m_data);
    TakeName();
    return m_hFind != INVALID_HANDLE_VALUE;
}

bool FileFinder::Next()
{
    const bool more = m_hFind != INVALID_HANDLE_VALUE && FindNextFileW(m_hFind, &m_data) != FALSE;
    TakeName();
    return more;
}

void FileFinder::TakeName()
{
    m_name = CString::FromWide(m_data.cFileName);
}

void FileFinder::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
}

bool FileFinder::IsDots() const
{
    return std::wcscmp(m_data.cFileName, L".") == 0 || std::wcscmp(m_data.cFileName, L"..") == 0;
}

namespace Files {

namespace {
CString g_modulePathForTesting;
}

void SetModulePathForTesting(const char* pszPath)
{
    g_modulePathForTesting = pszPath;
}

CString ModulePath()
{
    if (!g_modulePathForTesting.IsEmpty())
        return g_modulePathForTesting;
    wchar_t sz[261] = {};
    const DWORD n = GetModuleFileNameW(nullptr, sz, 261);
    if (n == 0 || n >= 261)
        return CString();
    return CString::FromWide(sz, static_cast<int>(n));
}

DWORD GetAttributes(const char* pszPath)
{
    return GetFileAttributesW(Wide(pszPath).GetString());
}

WinResult SetAttributes(const char* pszPath, DWORD dwAttributes)
{
    return WinResult::FromLastError(SetFileAttributesW(Wide(pszPath).GetString(), dwAttributes) != FALSE);
}

WinResult CopyOverwrite(const char* pszSource, const char* pszTarget)
{
    if (std::strlen(pszSource) >= kMaxPath || std::strlen(pszTarget) >= kMaxPath)
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    return WinResult::FromLastError(CopyFileW(Wide(pszSource).GetString(), Wide(pszTarget).GetString(), FALSE) != FALSE);
}

WinResult Delete(const char* pszPath)
{
    return WinResult::FromLastError(DeleteFileW(Wide(pszPath).GetString()) != FALSE);
}

WinResult CreateFolder(const char* pszPath)
{
    if (std::strlen(pszPath) >= kMaxPath)
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    return WinResult::FromLastError(CreateDirectoryW(Wide(pszPath).GetString(), nullptr) != FALSE);
}

void MakeDir(const char* pszPath)
{
    CreateFolder(pszPath);
}

bool Exists(const char* pszPath)
{
    return GetAttributes(pszPath) != INVALID_FILE_ATTRIBUTES;
}

CString CurrentFolder()
{
    wchar_t sz[260] = {};
    const DWORD n = GetCurrentDirectoryW(260, sz);
    if (n == 0 || n >= 260)
        return CString();
    return CString::FromWide(sz, static_cast<int>(n));
}

WinResult RemoveFolder(const char* pszPath)
{
    return WinResult::FromLastError(RemoveDirectoryW(Wide(pszPath).GetString()) != FALSE);
}

CString TempFolder()
{
    wchar_t sz[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, sz);
    if (n == 0 || n >= MAX_PATH + 1)
        return CString();
    CString folder = CString::FromWide(sz, static_cast<int>(n));
    StripTrailingBackslash(folder);
    return folder;
}


CString LongFullPath(const char* pszPath)
{
    return CString::FromWide(LongFullPathW(Wide(pszPath)).GetString());
}

namespace {

template <typename Call>
CStringW AskPathW(Call call)
{
    const DWORD n = call(nullptr, 0);
    if (n == 0)
        return CStringW();
    wchar_t* p = static_cast<wchar_t*>(calloc(n + 1, sizeof(wchar_t)));
    if (!p)
        return CStringW();
    const DWORD m = call(p, n + 1);
    const CStringW result = m <= n ? CStringW(p, static_cast<int>(m)) : CStringW();
    free(p);
    return result;
}

} // namespace

CStringW LongFullPathW(const CStringW& strPath)
{
    const CStringW full =
        AskPathW([&](wchar_t* p, DWORD n) { return GetFullPathNameW(strPath.GetString(), n, p, nullptr); });
    if (full.IsEmpty())
        return strPath;
    const CStringW longForm = AskPathW([&](wchar_t* p, DWORD n) { return GetLongPathNameW(full.GetString(), p, n); });
    if (!longForm.IsEmpty())
        return longForm;
    int cut = -1;
    for (int i = full.Find(L'\\'); i >= 0; i = full.Find(L'\\', i + 1))
        cut = i;
    if (cut <= 2)
        return full;
    return LongFullPathW(full.Mid(0, cut)) + full.Mid(cut, full.GetLength() - cut);
}

bool IsLink(const char* pszPath)
{
    const DWORD attributes = GetAttributes(pszPath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

DWORD ProbeAccess(const char* pszPath, DWORD dwAccess)
{
    ScopedHandle file(CreateFileW(Wide(pszPath).GetString(), dwAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() ? ERROR_SUCCESS : GetLastError();
}

DWORD ProbeWritableFolder(const char* pszFolder)
{
    CString probe;
    probe.Format("%s\\~Q-Ostrevo-probe-%lu-%lu.tmp", pszFolder, GetCurrentProcessId(), GetTickCount());
    ScopedHandle file(CreateFileW(Wide(probe).GetString(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.IsValid() ? ERROR_SUCCESS : GetLastError();
}

bool ReadAll(const char* pszPath, CString& strContent)
{
    ScopedHandle file(CreateFileW(Wide(pszPath).GetString(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 64 * 1024 * 1024)
        return false;
    const DWORD n = static_cast<DWORD>(size.QuadPart);
    char* p = strContent.GetBuffer(static_cast<int>(n));
    DWORD read = 0;
    const bool ok = ReadFile(file.Get(), p, n, &read, nullptr) && read == n;
    p[ok ? n : 0] = '\0';
    strContent.ReleaseBuffer();
    return ok;
}

WinResult WriteAll(const char* pszPath, const CString& strContent)
{
    ScopedHandle file(CreateFileW(Wide(pszPath).GetString(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return WinResult::FromLastError(false);
    DWORD written = 0;
    const DWORD n = static_cast<DWORD>(strContent.GetLength());
    if (!WriteFile(file.Get(), strContent.GetString(), n, &written, nullptr))
        return WinResult::FromLastError(false);
    return written == n ? WinResult() : WinResult(ERROR_WRITE_FAULT);
}

WinResult DeleteAtRestart(const char* pszPath)
{
    return WinResult::FromLastError(MoveFileExW(Wide(pszPath).GetString(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE);
}

} // namespace Files

int GetPathKind(CString strPath)
{
    FileFinder finder;
    if (!finder.First(strPath))
        return kPathMissing;
    return finder.IsFolder() ? kPathFolder : kPathFile;
}

void ClearReadOnly(CString strPath)
{
    const DWORD attributes = Files::GetAttributes(strPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        Files::SetAttributes(strPath, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}
