#include "platform/UserSession.h"

#include <cstdlib>

#include <userenv.h>

#include "platform/Handle.h"
#include "platform/SystemLibrary.h"

namespace UserSession {

namespace {

// A token's user: TOKEN_USER and the SID it points to, whose size Windows bounds.
class TokenAccount {
public:
    // Reads the user of hToken (opened with TOKEN_QUERY); false when it cannot.
    bool Read(HANDLE hToken)
    {
        DWORD cb = 0;
        m_bRead = GetTokenInformation(hToken, TokenUser, m_buffer, sizeof m_buffer, &cb) != FALSE;
        return m_bRead;
    }
    // The user of this process's token.
    bool ReadThisProcess()
    {
        HANDLE h = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &h))
            return false;
        ScopedHandle token(h);
        return Read(token.Get());
    }
    PSID Sid() const { return m_bRead ? reinterpret_cast<const TOKEN_USER*>(m_buffer)->User.Sid : nullptr; }
    // "DOMAIN\name", or empty when the account cannot be looked up.
    CStringW Name() const
    {
        wchar_t name[256] = {}, domain[256] = {};
        DWORD cchName = 256, cchDomain = 256;
        SID_NAME_USE use;
        if (!m_bRead || !LookupAccountSidW(nullptr, Sid(), name, &cchName, domain, &cchDomain, &use))
            return CStringW();
        return CStringW(domain) + L"\\" + CStringW(name);
    }

private:
    alignas(TOKEN_USER) BYTE m_buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    bool m_bRead = false;
};

// The token of the process that owns this desktop's shell window, opened with access.
WinResult OpenShellToken(DWORD access, ScopedHandle& token)
{
    const HWND shell = GetShellWindow();
    DWORD pid = 0;
    if (!shell || !GetWindowThreadProcessId(shell, &pid) || !pid)
        return WinResult(ERROR_NOT_FOUND);
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.IsValid())
        return WinResult::FromLastError(false);
    HANDLE h = nullptr;
    const WinResult opened = WinResult::FromLastError(OpenProcessToken(process.Get(), access, &h) != FALSE);
    token.Reset(h);
    return opened;
}

bool IsSystem(const TokenAccount& self)
{
    return IsWellKnownSid(self.Sid(), WinLocalSystemSid) != FALSE;
}

// WTSQueryUserToken lives in wtsapi32.dll, which is no KnownDLL: loaded by its
// System32 path (SystemLibrary), so that no file beside the program is loaded instead.
typedef BOOL(WINAPI* QueryUserTokenFn)(ULONG, PHANDLE);

// The primary token of the person at the machine, for starting a program.
WinResult InteractiveUserToken(bool bSystem, ScopedHandle& primary)
{
    HANDLE h = nullptr;
    if (bSystem) {
        // SYSTEM holds the privilege WTSQueryUserToken needs; the token it gives
        // is the user's own (for an administrator, the filtered one).
        const DWORD session = WTSGetActiveConsoleSessionId();
        if (session == 0xFFFFFFFF)
            return WinResult(ERROR_NO_TOKEN);
        const auto query = SystemFunctionAs<QueryUserTokenFn>(L"wtsapi32.dll", "WTSQueryUserToken");
        if (!query)
            return WinResult::FromLastError(false);
        const WinResult got = WinResult::FromLastError(query(session, &h) != FALSE);
        primary.Reset(h);
        return got;
    }
    ScopedHandle shell;
    WinResult got = OpenShellToken(TOKEN_QUERY | TOKEN_DUPLICATE, shell);
    if (!got)
        return got;
    got = WinResult::FromLastError(
        DuplicateTokenEx(shell.Get(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT |
                                          TOKEN_ADJUST_SESSIONID,
                         nullptr, SecurityImpersonation, TokenPrimary, &h) != FALSE);
    primary.Reset(h);
    return got;
}

} // namespace

const TestSeam* g_seam = nullptr;

void SetForTesting(const TestSeam* pSeam)
{
    g_seam = pSeam;
}

Who WhoRunsThis()
{
    if (g_seam)
        return g_seam->who;
    TokenAccount self;
    if (!self.ReadThisProcess())
        return kCannotTell;
    if (IsSystem(self))
        return kSystem;
    ScopedHandle shell;
    const WinResult opened = OpenShellToken(TOKEN_QUERY, shell);
    if (opened.Code() == ERROR_ACCESS_DENIED)
        return kOtherAccount;
    TokenAccount user;
    if (!opened || !user.Read(shell.Get()))
        return kCannotTell;
    return EqualSid(self.Sid(), user.Sid()) ? kInteractiveUser : kOtherAccount;
}

WinResult StartAsInteractiveUser(const CStringW& strExe, const CStringW& strCommandLine, const CStringW& strFolder,
                                 DWORD nWaitMs, DWORD* pExitCode, CStringW& strUser)
{
    *pExitCode = STILL_ACTIVE;
    strUser = CStringW();
    if (g_seam) {
        *pExitCode = 0;
        return g_seam->start(strCommandLine);
    }
    TokenAccount self;
    const bool system = self.ReadThisProcess() && IsSystem(self);
    ScopedHandle token;
    WinResult result = InteractiveUserToken(system, token);
    if (!result)
        return result;
    TokenAccount user;
    if (user.Read(token.Get()))
        strUser = user.Name();

    // CreateProcess*W may write into the command line: a copy of its own.
    wchar_t* buffer =
        static_cast<wchar_t*>(calloc(static_cast<size_t>(strCommandLine.GetLength()) + 1, sizeof(wchar_t)));
    if (!buffer)
        return WinResult(ERROR_OUTOFMEMORY);
    wmemcpy(buffer, strCommandLine.GetString(), static_cast<size_t>(strCommandLine.GetLength()));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    wchar_t desktop[] = L"winsta0\\default";  // the user's desktop, not this process's
    si.lpDesktop = desktop;
    PROCESS_INFORMATION pi = {};
    // The user's own environment (their TEMP, their profile), not this
    // process's: under SYSTEM that would be SYSTEM's.
    void* environment = nullptr;
    const auto createEnvironment =
        SystemFunctionAs<decltype(&CreateEnvironmentBlock)>(L"userenv.dll", "CreateEnvironmentBlock");
    const auto destroyEnvironment =
        SystemFunctionAs<decltype(&DestroyEnvironmentBlock)>(L"userenv.dll", "DestroyEnvironmentBlock");
    if (!createEnvironment || !destroyEnvironment || !createEnvironment(&environment, token.Get(), FALSE))
        environment = nullptr;  // started all the same, with the system's defaults
    const DWORD flags = environment ? CREATE_UNICODE_ENVIRONMENT : 0;
    if (system)
        result = WinResult::FromLastError(CreateProcessAsUserW(token.Get(), strExe.GetString(), buffer, nullptr, nullptr,
                                                               FALSE, flags, environment, strFolder.GetString(), &si,
                                                               &pi) != FALSE);
    else
        result = WinResult::FromLastError(CreateProcessWithTokenW(token.Get(), 0, strExe.GetString(), buffer, flags,
                                                                  environment, strFolder.GetString(), &si, &pi) != FALSE);
    if (environment)
        destroyEnvironment(environment);
    free(buffer);
    if (!result)
        return result;
    ScopedHandle process(pi.hProcess);
    ScopedHandle thread(pi.hThread);
    if (WaitForSingleObject(process.Get(), nWaitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.Get(), pExitCode);
    return WinResult();
}

bool InServicesSession(WinResult& queried)
{
    DWORD session = 0;
    queried = QuerySessionId(session);
    return queried && session == 0;
}

RunContext ReadRunContext()
{
    RunContext context;
    // The version Windows is, not the one a manifest lets the program see.
    typedef LONG(WINAPI * GetVersionFn)(OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion =
        ntdll ? reinterpret_cast<GetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion"))) : nullptr;
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (getVersion && getVersion(&version) == 0) {
        context.nMajor = version.dwMajorVersion;
        context.nMinor = version.dwMinorVersion;
        context.nBuild = version.dwBuildNumber;
    }
    BOOL wow64 = FALSE;
    context.bWindows64 = sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
    TokenAccount self;
    if (self.ReadThisProcess())
        context.strAccount = self.Name();
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        const ScopedHandle owned(token);
        TOKEN_ELEVATION elevation = {};
        DWORD cb = 0;
        context.bElevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &cb) &&
                            elevation.TokenIsElevated;
    }
    context.bSessionKnown = static_cast<bool>(QuerySessionId(context.nSession));
    return context;
}

bool IsThisAccount(PSID sid)
{
    TokenAccount self;
    return sid && self.ReadThisProcess() && EqualSid(self.Sid(), sid);
}

} // namespace UserSession
