#include "platform/Files.h"

#include <direct.h>
#include <io.h>

#include <cstdlib>
#include <cstring>

void ScopedHandle::Close()
{
    if (IsValid())
        CloseHandle(m_h);
    m_h = nullptr;
}

bool FileFinder::First(const char* pszPattern)
{
    Close();
    m_hFind = FindFirstFileA(pszPattern, &m_data);
    return m_hFind != INVALID_HANDLE_VALUE;
}

bool FileFinder::Next()
{
    return m_hFind != INVALID_HANDLE_VALUE && FindNextFileA(m_hFind, &m_data) != FALSE;
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
    return std::strcmp(m_data.cFileName, ".") == 0 || std::strcmp(m_data.cFileName, "..") == 0;
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
    char sz[261] = {};
    const DWORD n = GetModuleFileNameA(nullptr, sz, sizeof sz);
    if (n == 0 || n >= sizeof sz)
        return CString();
    return CString(sz);
}

DWORD GetAttributes(const char* pszPath)
{
    return GetFileAttributesA(pszPath);
}

bool SetAttributes(const char* pszPath, DWORD dwAttributes)
{
    return SetFileAttributesA(pszPath, dwAttributes) != FALSE;
}

bool CopyOverwrite(const char* pszSource, const char* pszTarget)
{
    return CopyFileA(pszSource, pszTarget, FALSE) != FALSE;
}

bool Delete(const char* pszPath)
{
    return DeleteFileA(pszPath) != FALSE;
}

bool CreateFolder(const char* pszPath)
{
    return CreateDirectoryA(pszPath, nullptr) != FALSE;
}

void MakeDir(const char* pszPath)
{
    _mkdir(pszPath);
}

bool Exists(const char* pszPath)
{
    return _access(pszPath, 0) == 0;
}

CString CurrentFolder()
{
    char sz[260] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof sz, sz);
    if (n == 0 || n >= sizeof sz)
        return CString();
    return CString(sz);
}

bool RemoveFolder(const char* pszPath)
{
    return RemoveDirectoryA(pszPath) != FALSE;
}

CString TempFolder()
{
    char sz[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof sz, sz);
    if (n == 0 || n >= sizeof sz)
        return CString();
    CString folder(sz);
    if (folder.EndsWithChar('\\'))
        folder.Delete(folder.GetLength() - 1);
    return folder;
}

namespace {

// One of the two path calls, with a buffer as large as it asks for.
template <typename Call>
CString AskPath(Call call)
{
    const DWORD n = call(nullptr, 0);
    if (n == 0)
        return CString();
    CString result;
    char* p = result.GetBuffer(static_cast<int>(n));
    const DWORD m = call(p, n + 1);
    p[m <= n ? m : 0] = '\0';
    result.ReleaseBuffer();
    return m <= n ? result : CString();
}

} // namespace

CString LongFullPath(const char* pszPath)
{
    const CString full = AskPath([&](char* p, DWORD n) { return GetFullPathNameA(pszPath, n, p, nullptr); });
    if (full.IsEmpty())
        return CString(pszPath);
    const CString longForm = AskPath([&](char* p, DWORD n) { return GetLongPathNameA(full, p, n); });
    if (!longForm.IsEmpty())
        return longForm;
    const int cut = full.ReverseFind('\\');
    if (cut <= 2)
        return full;
    return LongFullPath(full.Left(cut)) + full.Mid(cut);
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
    const DWORD attributes = GetFileAttributesA(pszPath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

DWORD ProbeAccess(const char* pszPath, DWORD dwAccess)
{
    ScopedHandle file(CreateFileA(pszPath, dwAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() ? ERROR_SUCCESS : GetLastError();
}

DWORD ProbeWritableFolder(const char* pszFolder)
{
    CString probe;
    probe.Format("%s\\~Q-Ostrevo-probe-%lu-%lu.tmp", pszFolder, GetCurrentProcessId(), GetTickCount());
    ScopedHandle file(CreateFileA(probe, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.IsValid() ? ERROR_SUCCESS : GetLastError();
}

bool ReadAll(const char* pszPath, CString& strContent)
{
    ScopedHandle file(CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

bool WriteAll(const char* pszPath, const CString& strContent)
{
    ScopedHandle file(CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    DWORD written = 0;
    const DWORD n = static_cast<DWORD>(strContent.GetLength());
    return WriteFile(file.Get(), strContent.GetString(), n, &written, nullptr) && written == n;
}

bool DeleteAtRestart(const char* pszPath)
{
    return MoveFileExA(pszPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

} // namespace Files

namespace Processes {

bool Start(const char* pszExe, const CString& strCommandLine, const char* pszFolder)
{
    CString commandLine = strCommandLine;  // CreateProcessA may write into it
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(pszExe, commandLine.GetBuffer(commandLine.GetLength()), nullptr, nullptr, FALSE, 0,
                        nullptr, pszFolder, &si, &pi))
        return false;
    ScopedHandle process(pi.hProcess);
    ScopedHandle thread(pi.hThread);
    return true;
}

bool WaitForEnd(DWORD nId, DWORD nMs)
{
    ScopedHandle process(OpenProcess(SYNCHRONIZE, FALSE, nId));
    if (!process.IsValid())
        return true;  // already gone
    return WaitForSingleObject(process.Get(), nMs) == WAIT_OBJECT_0;
}

DWORD CurrentId()
{
    return GetCurrentProcessId();
}

const char* CommandLine()
{
    return GetCommandLineA();
}

bool IsWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace Processes
