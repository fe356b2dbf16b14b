#include "platform/SystemLibrary.h"

#include <cwchar>

FARPROC SystemFunction(const wchar_t* pszDll, const char* pszFunction)
{
    wchar_t path[MAX_PATH];
    const UINT n = GetSystemDirectoryW(path, MAX_PATH);
    const size_t name = std::wcslen(pszDll);
    if (n == 0 || n + 1 + name >= MAX_PATH) {
        SetLastError(n == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    path[n] = L'\\';
    std::wmemcpy(path + n + 1, pszDll, name + 1);
    HMODULE module = GetModuleHandleW(path);
    // With its full path the DLL's own imports are looked for beside it, in System32.
    if (!module)
        module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module ? GetProcAddress(module, pszFunction) : nullptr;
}
