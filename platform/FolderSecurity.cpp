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

bool Apply(const char* pszFolder, const char* pszSddl, bool bProtected)
{
    if (g_applyForTesting)
        return g_applyForTesting(pszFolder, pszSddl, bProtected);
    const CStringW sddl = CStringW::FromText(pszSddl);
    const CStringW folder = CStringW::FromText(pszFolder);
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool ok = false;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.GetString(), SDDL_REVISION_1, &sd, nullptr)) {
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        if (GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present) {
            const SECURITY_INFORMATION what =
                DACL_SECURITY_INFORMATION |
                (bProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
            // The call takes a writable name; it does not write into it.
            ok = SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.GetString()), SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr) ==
                 ERROR_SUCCESS;
        }
        LocalFree(sd);
    }
    return ok;
}

} // namespace FolderSecurity
