#include "platform/SingleInstance.h"

#include <aclapi.h>
#include <sddl.h>

#include "framework/StringW.h"
#include "platform/Handle.h"
#include "platform/UserSession.h"

namespace SingleInstance {

namespace {

ScopedHandle g_held;  // closed when the process ends

// Owned by Administrators where the token may say so (every elevated
// administrator and SYSTEM), so that an owner check can tell ours from others.
const wchar_t kOwnedSddl[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";
const wchar_t kSddl[] = L"D:(A;;GA;;;BA)(A;;GA;;;SY)";

// CreateMutexW with the access list; *pError is its last error (ERROR_ALREADY_EXISTS
// when it opened an existing one).
HANDLE CreateWith(const wchar_t* pszSddl, const CStringW& name, DWORD* pError)
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(pszSddl, SDDL_REVISION_1, &sd, nullptr)) {
        *pError = GetLastError();
        return nullptr;
    }
    SECURITY_ATTRIBUTES sa = {sizeof sa, sd, FALSE};
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexW(&sa, FALSE, name.GetString());
    *pError = GetLastError();
    LocalFree(sd);
    return mutex;
}

// True when the existing object belongs to one of our runs (its owner is
// Administrators, SYSTEM or this account), or its owner cannot be read.
bool OwnedByOurRuns(HANDLE hObject)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetSecurityInfo(hObject, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &sd) != ERROR_SUCCESS)
        return true;  // unknown: rather wait than race
    const bool ours = IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid) ||
                      UserSession::IsThisAccount(owner);
    LocalFree(sd);
    return ours;
}

} // namespace

Outcome Take(const CStringW& name, DWORD* pError)
{
    *pError = ERROR_SUCCESS;
    DWORD error = ERROR_SUCCESS;
    HANDLE mutex = CreateWith(kOwnedSddl, name, &error);
    if (!mutex && error == ERROR_INVALID_OWNER)  // a token that may not name Administrators
        mutex = CreateWith(kSddl, name, &error);
    if (!mutex) {
        *pError = error;
        if (error != ERROR_ACCESS_DENIED)
            return kUnavailable;
        // Refused: its owner tells whose it is (a run of ours under an account
        // whose token this one cannot use, or someone else's squatting the name).
        ScopedHandle existing(OpenMutexW(READ_CONTROL, FALSE, name.GetString()));
        return existing.IsValid() && OwnedByOurRuns(existing.Get()) ? kBusy : kNotOurs;
    }
    if (error != ERROR_ALREADY_EXISTS) {
        g_held.Reset(mutex);
        return kTaken;
    }
    // Closed at once: a second run waiting at its message must not keep the name
    // taken after the first has ended.
    ScopedHandle existing(mutex);
    return OwnedByOurRuns(existing.Get()) ? kBusy : kNotOurs;
}

HANDLE Held()
{
    return g_held.IsValid() ? g_held.Get() : nullptr;
}

} // namespace SingleInstance
