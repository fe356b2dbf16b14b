#include "platform/Files.h"

#include <direct.h>
#include <io.h>

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

} // namespace Files
