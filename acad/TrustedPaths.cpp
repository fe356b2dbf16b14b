// Adds the install folder to TRUSTEDPATHS in every AutoCAD profile of the current user.
#include "acad/TrustedPaths.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "acad/AcadRegistry.h"
#include "framework/Format.h"
#include "platform/Registry.h"

namespace {

const char kAcadRoot[] = "SOFTWARE\\Autodesk\\AutoCAD";
const char kValueName[] = "TRUSTEDPATHS";
// The first read asks for this much; a longer value is then read at its real size.
constexpr DWORD kFirstReadSize = 10000;

// Removes one trailing backslash from a key path.
CString WithoutTrailingBackslash(const CString& path)
{
    CString out = path;
    if (out.EndsWithChar('\\'))
        out.Delete(out.GetLength() - 1);
    return out;
}

// Reads the current TRUSTEDPATHS text. False when the value exists but cannot be
// read whole: that profile is then left as it is.
bool ReadTrustedPaths(const CString& variablesPath, CString& current)
{
    current.Empty();
    RegKey variables;
    if (!variables.Open(HKEY_CURRENT_USER, variablesPath))
        return true;
    static LongBuffer buffer;
    std::fill(buffer, buffer + sizeof buffer, '\0');
    DWORD cb = kFirstReadSize;
    LONG r = variables.QueryValue(kValueName, buffer, &cb);
    if (r == ERROR_SUCCESS) {
        current = CString(buffer, static_cast<int>(strnlen(buffer, sizeof buffer)));
        return true;
    }
    if (r != ERROR_MORE_DATA)
        return true;  // no such value: it counts as empty
    // Longer than the first read: read it at its real size, never cut.
    cb = 0;
    if (variables.QueryValue(kValueName, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    std::vector<char> big(cb + 1, '\0');
    DWORD cbBig = cb;
    if (variables.QueryValue(kValueName, big.data(), &cbBig) != ERROR_SUCCESS)
        return false;
    current = CString(big.data(), static_cast<int>(strnlen(big.data(), big.size())));
    return true;
}

} // namespace

void ListOpenableSubKeys(HKEY hKey, CStringArray& arrNames)
{
    RegKey parent;
    if (!parent.OpenRead(hKey, ""))
        return;
    const DWORD count = parent.SubKeyCount();
    for (DWORD i = 0; i < count; ++i) {
        char szName[256];
        if (!parent.EnumSubKey(i, szName))
            continue;
        RegKey child;
        if (child.OpenRead(hKey, szName))
            arrNames.Add(szName);
    }
}

bool TrustedPathsContain(const CString& strValue, const CString& strFolder)
{
    CString folder = strFolder;
    folder.MakeUpper();
    const CString withBackslash = folder + "\\";
    const CString withSubFolders = folder + "\\...";
    CString value = strValue;
    value.MakeUpper();
    int start = 0;
    while (start <= value.GetLength()) {
        int end = value.Find(';', start);
        if (end < 0)
            end = value.GetLength();
        const CString entry = value.Mid(start, end - start);
        if (entry == folder || entry == withBackslash || entry == withSubFolders)
            return true;
        start = end + 1;
    }
    return false;
}

CString ComposeTrustedPaths(const CString& strCurrent, const CString& strFolder)
{
    if (strCurrent.GetLength() <= 2)
        return strFolder;
    CString current = strCurrent;
    current.MakeUpper();
    if (TrustedPathsContain(current, strFolder))
        return current;
    CString folder = strFolder;
    folder.MakeUpper();
    static LongBuffer buffer;
    if (FormatLong(buffer, "%s;%s", current.GetString(), folder.GetString()))
        return CString(buffer);
    // Longer than the buffer: build it in a grown one rather than cut an entry.
    CString grown;
    grown.Format("%s;%s", current.GetString(), folder.GetString());
    return grown;
}

void CAcadRegistry::AddTrustedPath()
{
    // Phase 1: the Profiles key of every product of every release.
    CStringArray profilesPaths;
    {
        RegKey user;
        RegKey root;
        if (user.Open(HKEY_CURRENT_USER, nullptr) && root.OpenRead(user.Get(), kAcadRoot)) {
            const DWORD count = root.SubKeyCount();
            for (DWORD i = 0; i < count; ++i) {
                char szRelease[256];
                if (!root.EnumSubKey(i, szRelease))
                    continue;
                RegKey release;
                if (!release.OpenRead(root.Get(), szRelease))
                    continue;
                CStringArray products;
                ListOpenableSubKeys(release.Get(), products);
                for (int p = 0; p < products.GetSize(); ++p) {
                    CString path;
                    path.Format("%s\\%s\\%s", kAcadRoot, szRelease, products[p].GetString());
                    profilesPaths.Add(WithoutTrailingBackslash(path) + "\\Profiles");
                }
            }
        }
    }

    // Phase 2: the Variables key of every profile.
    CStringArray variablesPaths;
    {
        RegKey user;
        if (user.Open(HKEY_CURRENT_USER, nullptr)) {
            for (int i = 0; i < profilesPaths.GetSize(); ++i) {
                RegKey profiles;
                if (!profiles.OpenRead(user.Get(), profilesPaths[i]))
                    continue;
                CStringArray names;
                ListOpenableSubKeys(profiles.Get(), names);
                for (int p = 0; p < names.GetSize(); ++p) {
                    CString path;
                    path.Format("%s\\%s", profilesPaths[i].GetString(), names[p].GetString());
                    variablesPaths.Add(WithoutTrailingBackslash(path) + "\\Variables");
                }
            }
        }
    }

    // Phase 3: update each Variables key, creating it when missing.
    for (int i = 0; i < variablesPaths.GetSize(); ++i) {
        CString current;
        if (!ReadTrustedPaths(variablesPaths[i], current))
            continue;  // unreadable whole: leave it as it is
        const CString updated = ComposeTrustedPaths(current, m_strInstallFolder);
        RegKey variables;
        if (variables.Create(HKEY_CURRENT_USER, variablesPaths[i]))
            variables.SetString(kValueName, updated);
    }
}
