#include "platform/Processes.h"

#include <cstdlib>

#include "framework/StringW.h"

namespace Processes {

WinResult StartHolding(const CStringW& strExe, const CStringW& strCommandLine, const CStringW& strFolder,
                       HANDLE hShared)
{
    const CStringW& line = strCommandLine;
    // CreateProcessW may write into the command line: a copy of its own.
    wchar_t* buffer = static_cast<wchar_t*>(calloc(static_cast<size_t>(line.GetLength()) + 1, sizeof(wchar_t)));
    if (!buffer)
        return WinResult(ERROR_OUTOFMEMORY);
    wmemcpy(buffer, line.GetString(), static_cast<size_t>(line.GetLength()));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const WinResult started = WinResult::FromLastError(
        CreateProcessW(strExe.GetString(), buffer, nullptr, nullptr, FALSE, hShared ? CREATE_SUSPENDED : 0, nullptr,
                       strFolder.IsEmpty() ? nullptr : strFolder.GetString(), &si, &pi) != FALSE);
    free(buffer);
    if (!started)
        return started;
    ScopedHandle process(pi.hProcess);
    ScopedHandle thread(pi.hThread);
    if (!hShared)
        return WinResult();
    // Placed while the program is still suspended, so it never runs without it.
    HANDLE copy = nullptr;
    const WinResult placed = WinResult::FromLastError(
        DuplicateHandle(GetCurrentProcess(), hShared, process.Get(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS) != FALSE);
    if (!placed) {
        TerminateProcess(process.Get(), ERROR_CANCELLED);
        return placed;
    }
    ResumeThread(thread.Get());
    return WinResult();
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

CStringW CommandLineW()
{
    return CStringW(GetCommandLineW());
}

bool IsWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace Processes
