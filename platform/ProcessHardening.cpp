#include "platform/ProcessHardening.h"

#include <windows.h>

void HardenProcess()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // SetDefaultDllDirectories and SetSearchPathMode are missing on a Windows 7
    // without KB2533623: looked up, so that the program still starts there.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel)
        return;
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    typedef BOOL(WINAPI * SetSearchPathModeFn)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirectories)
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else
        SetDllDirectoryW(L"");  // at least the current folder is out of the search
    const auto setSearchPathMode =
        reinterpret_cast<SetSearchPathModeFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetSearchPathMode")));
    if (setSearchPathMode)
        setSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}
