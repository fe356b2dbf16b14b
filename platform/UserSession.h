// Who runs this program, compared with the person at the machine (the user of
// this desktop's shell), and starting a program as that person, on their
// desktop with their own environment: the only code that reads another
// account's token or the console session.
//
// An elevated setup's HKEY_CURRENT_USER is the person's own only when that
// person accepted the elevation prompt themselves. After "over-the-shoulder"
// elevation it is the administrator's who typed the password, and under a
// deployment tool it is SYSTEM's, which no user ever sees.
#pragma once

#include <windows.h>

#include "framework/StringW.h"
#include "platform/WinResult.h"

namespace UserSession {

enum Who {
    kInteractiveUser,  // the user of this desktop's shell: the person at the machine
    kCannotTell,       // no shell on this desktop (Server Core, a service's desktop, Wine
                       // without one), or its user could not be read
    kOtherAccount,     // an account other than the desktop's user
    kSystem,           // LocalSystem: a deployment tool, a startup script
};

// Decides by the token user of this process against that of the process owning
// the shell window of this desktop. Opening another account's process is refused
// to an administrator (short of the debug privilege, which this program does
// not use): a refusal means another account, since the same account, elevated
// or not, may always open its own shell.
Who WhoRunsThis();

// Starts strExe (a full path) with strCommandLine in strFolder as the person at
// the machine, never through a shell: as SYSTEM with the token of the console
// session's user (WTSQueryUserToken), otherwise with the token of this
// desktop's shell (CreateProcessWithTokenW); on winsta0\default, with the
// person's own environment (their TEMP, their profile), the system's defaults
// when that cannot be made. Waits up to nWaitMs for it to end:
// *pExitCode is its exit code, or STILL_ACTIVE. strUser names the account.
// ERROR_NO_TOKEN when nobody is logged on at the console.
WinResult StartAsInteractiveUser(const CStringW& strExe, const CStringW& strCommandLine, const CStringW& strFolder,
                                 DWORD nWaitMs, DWORD* pExitCode, CStringW& strUser);

// What the log's first lines say of where a run happens.
struct RunContext {
    DWORD nMajor = 0, nMinor = 0, nBuild = 0;  // Windows' own version (RtlGetVersion)
    bool bWindows64 = false;                   // 64-bit Windows (this program may be 32-bit)
    CStringW strAccount;                       // DOMAIN\user of this process; empty when unknown
    bool bElevated = false;                    // the token is elevated (or UAC is off)
    DWORD nSession = 0;
    bool bSessionKnown = false;
};
RunContext ReadRunContext();

// True when sid is the account this process runs as.
bool IsThisAccount(PSID sid);

// The session this process runs in (ProcessIdToSessionId). Alone in
// SessionId.cpp: a test program links a stand-in for it, since Wine runs every
// program in a user's session.
WinResult QuerySessionId(DWORD& nSession);

// True when this process runs in session 0, where services run and no desktop
// a person sees exists (SYSTEM under a deployment tool): a window shown there
// waits forever for a click. False, with queried failed, when the session
// cannot be read.
bool InServicesSession(WinResult& queried);

// Tests say who runs this program (Wine always runs the desktop's own user) and
// see the command line StartAsInteractiveUser would start instead of starting
// it; NULL restores.
struct TestSeam {
    Who who;
    WinResult (*start)(const CStringW& strCommandLine);
};
void SetForTesting(const TestSeam* pSeam);

} // namespace UserSession
