// The outcome of one Windows call: success, or the Win32 error code that says
// why not. The code is taken where the call failed, so a later call cannot
// overwrite it before the failure is logged.
#pragma once

#include <windows.h>

// "The request would have crossed a reparse point" (ERROR_REPARSE_POINT_ENCOUNTERED,
// missing from MinGW's headers): a link met where the program never follows one.
constexpr DWORD kErrorReparsePoint = 4395;

extern "C" ULONG NTAPI RtlNtStatusToDosError(LONG status);

class WinResult {
public:
    WinResult() = default;  // success
    explicit WinResult(DWORD dwCode) : m_dwCode(dwCode) {}
    // ok, or the calling thread's last error (never "success" for a failure).
    static WinResult FromLastError(bool ok)
    {
        if (ok)
            return WinResult();
        const DWORD code = GetLastError();
        return WinResult(code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE);
    }
    // A registry function's result (it returns the code instead of setting it).
    static WinResult FromStatus(LONG status) { return WinResult(static_cast<DWORD>(status)); }
    // A native function's NTSTATUS (ntdll, bcrypt), as the Win32 error it stands for.
    static WinResult FromNtStatus(LONG status)
    {
        return status == 0 ? WinResult() : WinResult(RtlNtStatusToDosError(status));
    }

    explicit operator bool() const { return m_dwCode == ERROR_SUCCESS; }
    DWORD Code() const { return m_dwCode; }

private:
    DWORD m_dwCode = ERROR_SUCCESS;
};
