#include "platform/FolderName.h"

#include <cstring>

#include "framework/Format.h"
#include "framework/String.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"

namespace {

// Windows' own forbidden characters, and ';': the folder goes into AutoCAD's
// TRUSTEDPATHS, where ';' separates entries.
const char kForbidden[] = "\"*/:<>?\\|;";

bool IsBlankOrDot(char c)
{
    return c == '\t' || c == ' ' || c == '.';
}

// Byte offsets where each character of the text starts.
template <typename Visit>
void ForEachChar(const char* psz, Visit visit)
{
    const size_t n = std::strlen(psz);
    for (size_t i = 0; i < n;) {
        const bool dbcs = CString::IsLeadByte(static_cast<unsigned char>(psz[i])) && i + 1 < n;
        visit(i, dbcs);
        i += dbcs ? 2 : 1;
    }
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

BOOL CheckFolderName(const char* pszName)
{
    if (!pszName || !*pszName)
        return FALSE;
    if (IsBlankOrDot(pszName[0]))
        return FALSE;
    BOOL ok = TRUE;
    size_t lastStart = 0;
    bool lastIsDbcs = false;
    ForEachChar(pszName, [&](size_t i, bool dbcs) {
        lastStart = i;
        lastIsDbcs = dbcs;
        if (!dbcs && std::strchr(kForbidden, pszName[i]))
            ok = FALSE;
    });
    if (!lastIsDbcs && IsBlankOrDot(pszName[lastStart]))
        return FALSE;
    return ok;
}

int CreateFolderPath(const char* pszPath, BOOL bValidateOnly)
{
    if (!pszPath)
        return kFolderInvalid;
    PathBuffer path;
    if (!FormatPath(path, "%s", pszPath))
        return kFolderInvalid;  // longer than any folder can be
    const size_t len = std::strlen(path);
    if (len < 3 || !IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\')
        return kFolderInvalid;
    if (len == 3)
        return bValidateOnly || Files::Exists(CStringW::FromText(path)) ? kFolderOk : kFolderCannotCreate;

    // Split after the root at real backslashes only (never a GBK second byte).
    const CString rest(path + 3);
    int start = 0;
    for (;;) {
        int end = rest.Find('\\', start);
        const CString level = end < 0 ? rest.Mid(start) : rest.Mid(start, end - start);
        if (!CheckFolderName(level))
            return kFolderInvalid;
        if (!bValidateOnly) {
            const CString upTo = CString(path, 3) + rest.Left(start + level.GetLength());
            // A level made here is the setup's: protected in the same call.
            FolderSecurity::CreateWith(CStringW::FromText(upTo), kProtectedFolderSddl);  // an existing one is passed over
            if (!Files::Exists(CStringW::FromText(upTo)))
                return kFolderCannotCreate;
        }
        if (end < 0)
            return kFolderOk;
        if (end + 1 == rest.GetLength())
            return kFolderInvalid;  // a trailing backslash
        start = end + 1;
    }
}
