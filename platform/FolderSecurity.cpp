#include "platform/FolderSecurity.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "framework/StringW.h"

namespace FolderSecurity {

namespace {

ApplyFn g_applyForTesting = nullptr;

} // namespace

void SetApplyForTesting(ApplyFn fn)
{
    g_applyForTesting = fn;
}

WinResult Apply(const char* pszFolder, const char* pszSddl, bool bProtected)
{
    if (g_applyForTesting)
        return g_applyForTesting(pszFolder, pszSddl, bProtected) ? WinResult() : WinResult(ERROR_ACCESS_DENIED);
    const CStringW sddl = CStringW::FromText(pszSddl);
    const CStringW folder = CStringW::FromText(pszFolder);
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.GetString(), SDDL_REVISION_1, &sd, nullptr))
        return WinResult::FromLastError(false);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    WinResult result(ERROR_INVALID_SECURITY_DESCR);
    if (GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present) {
        const SECURITY_INFORMATION what =
            DACL_SECURITY_INFORMATION |
            (bProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
        // The call takes a writable name; it does not write into it.
        result = WinResult(SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.GetString()), SE_FILE_OBJECT, what,
                                                 nullptr, nullptr, dacl, nullptr));
    }
    LocalFree(sd);
    return result;
}

} // namespace FolderSecurity
