// Functions of the system DLLs that Windows does not keep among its KnownDLLs
// (bcrypt.dll, userenv.dll, wtsapi32.dll), loaded when first needed by their
// full System32 path. Imported, they would be looked for beside the program first on a
// Windows that ignores the load configuration's System32 rule (before Windows
// 10 1607): in a user's Downloads, where anyone may have put a DLL of that name
// for an elevated setup to load.
// Also the way to a DLL only a later step needs (shell32.dll, ole32.dll for the
// folder browser): imported, it would be loaded before the dialog can show.
#pragma once

#include <windows.h>

// The function, or NULL (with the last error set) when the DLL or the function
// cannot be had. The DLL stays loaded.
FARPROC SystemFunction(const wchar_t* pszDll, const char* pszFunction);

// The same, typed as the function it is, named by decltype only (which takes
// no address, so nothing imports it):
//     SystemFunctionAs<decltype(&CreateEnvironmentBlock)>(L"userenv.dll", "CreateEnvironmentBlock")
template <typename Fn>
Fn SystemFunctionAs(const wchar_t* pszDll, const char* pszFunction)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemFunction(pszDll, pszFunction)));
}
