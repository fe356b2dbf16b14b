#include "platform/FolderSecurity.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstdlib>

namespace FolderSecurity {

namespace {

ApplyFn g_applyForTesting = nullptr;

// The text as UTF-16: SDDL is ASCII, a path is in the program's code page.
wchar_t* Widen(const char* psz, UINT codePage)
{
    const int n = MultiByteToWideChar(codePage, 0, psz, -1, nullptr, 0);
    wchar_t* w = n > 0 ? static_cast<wchar_t*>(calloc(static_cast<size_t>(n), sizeof(wchar_t))) : nullptr;
    if (w)
        MultiByteToWideChar(codePage, 0, psz, -1, w, n);
    return w;
}

} // namespace

void SetApplyForTesting(ApplyFn fn)
{
    g_applyForTesting = fn;
}

bool Apply(const char* pszFolder, const char* pszSddl, bool bProtected)
{
    if (g_applyForTesting)
        return g_applyForTesting(pszFolder, pszSddl, bProtected);
    wchar_t* sddl = Widen(pszSddl, CP_ACP);
    wchar_t* folder = Widen(pszFolder, CP_ACP);
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool ok = false;
    if (sddl && folder &&
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) {
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        if (GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present) {
            const SECURITY_INFORMATION what =
                DACL_SECURITY_INFORMATION |
                (bProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
            ok = SetNamedSecurityInfoW(folder, SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr) ==
                 ERROR_SUCCESS;
        }
        LocalFree(sd);
    }
    free(folder);
    free(sddl);
    return ok;
}

} // namespace FolderSecurity
