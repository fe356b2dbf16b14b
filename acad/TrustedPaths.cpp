// Adds the install folder to TRUSTEDPATHS in every AutoCAD profile of the current user.
#include "acad/TrustedPaths.h"

#include "acad/AcadRegistry.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "res/Texts.h"

namespace {

const char kAcadRoot[] = "SOFTWARE\\Autodesk\\AutoCAD";
const wchar_t kValueName[] = L"TRUSTEDPATHS";

// Removes one trailing backslash from a key path.
CString WithoutTrailingBackslash(const CString& path)
{
    CString out = path;
    if (out.EndsWithChar('\\'))
        out.Delete(out.GetLength() - 1);
    return out;
}

// Reads the current TRUSTEDPATHS text through the wide functions, so entries in
// any language survive. Only an absent key or value counts as empty; any other
// error returns false and that profile is left as it is.
bool ReadTrustedPaths(const CString& variablesPath, CStringW& current)
{
    current = CStringW();
    RegKey variables;
    const LONG opened = variables.OpenStatus(HKEY_CURRENT_USER, variablesPath);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    const LONG r = variables.QueryStringW(kValueName, current);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

// Calls visit(entry) for each ";"-separated entry of the value, empty ones included.
template <typename Visit>
void ForEachEntry(const CStringW& value, Visit visit)
{
    for (int start = 0; start <= value.GetLength();) {
        int end = value.Find(L';', start);
        if (end < 0)
            end = value.GetLength();
        visit(value.Mid(start, end - start));
        start = end + 1;
    }
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

bool IsOwnTrustedPathEntry(const CStringW& strEntry, const CStringW& strFolder)
{
    CStringW entry = strEntry;
    CStringW folder = strFolder;
    return entry.MakeUpper() == folder.MakeUpper();
}

bool IsSameFolder(const CStringW& strEntry, const CStringW& strFolder)
{
    auto endsWith = [&](const wchar_t* pszTail) {
        const int n = static_cast<int>(wcslen(pszTail));
        return strEntry.GetLength() >= n && strEntry.Mid(strEntry.GetLength() - n, n) == CStringW(pszTail);
    };
    // "\" and "\..." forms are the user's own; any other spelling of the folder
    // itself (an 8.3 name, "." or "/" in it) is the install's entry.
    if (strEntry.IsEmpty() || endsWith(L"\\...") || endsWith(L"\\"))
        return false;
    // Only a full path: a relative one would be read against this program's folder.
    const wchar_t* p = strEntry.GetString();
    if (strEntry.GetLength() < 3 || p[1] != L':' || (p[2] != L'\\' && p[2] != L'/'))
        return false;
    CStringW entry = Files::LongFullPathW(strEntry);
    CStringW folder = Files::LongFullPathW(strFolder);
    return entry.MakeUpper() == folder.MakeUpper();
}

bool IsTrustedPathEntry(const CStringW& strEntry, const CStringW& strFolder)
{
    return IsOwnTrustedPathEntry(strEntry, strFolder) ||
           IsOwnTrustedPathEntry(strEntry, strFolder + L"\\") ||
           IsOwnTrustedPathEntry(strEntry, strFolder + L"\\...");
}

bool TrustedPathsContain(const CStringW& strValue, const CStringW& strFolder)
{
    bool found = false;
    ForEachEntry(strValue, [&](const CStringW& entry) {
        found = found || IsTrustedPathEntry(entry, strFolder);
    });
    return found;
}

CStringW ComposeTrustedPaths(const CStringW& strCurrent, const CStringW& strFolder)
{
    if (strCurrent.GetLength() <= 2)
        return strFolder;
    CStringW current = strCurrent;
    current.MakeUpper();
    if (TrustedPathsContain(current, strFolder))
        return current;
    CStringW folder = strFolder;
    folder.MakeUpper();
    return current + L";" + folder;
}

void CollectVariablesKeys(CStringArray& variablesPaths)
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
}

void CAcadRegistry::AddTrustedPath()
{
    CStringArray variablesPaths;
    CollectVariablesKeys(variablesPaths);

    // Phase 3: update each Variables key, creating it when missing.
    const CStringW folder = CStringW::FromAnsi(m_strInstallFolder);
    for (int i = 0; i < variablesPaths.GetSize(); ++i) {
        CStringW current;
        // Unreadable: left as it is, never losing an entry.
        bool written = ReadTrustedPaths(variablesPaths[i], current);
        if (written) {
            const CStringW updated = ComposeTrustedPaths(current, folder);
            RegKey variables;
            written = variables.Create(HKEY_CURRENT_USER, variablesPaths[i]) &&
                      variables.SetStringW(kValueName, updated);
        }
        CString line;
        line.Format(written ? Texts::kLogTrustedFormat : Texts::kLogTrustedNotWrittenFormat,
                    variablesPaths[i].GetString());
        m_arrInstallLog.Add(line);
    }
}

CStringW WithoutTrustedPathEntry(const CStringW& strValue, const CStringW& strFolder, bool* pRemoved)
{
    CStringW kept;
    bool first = true;
    *pRemoved = false;
    ForEachEntry(strValue, [&](const CStringW& entry) {
        if (IsOwnTrustedPathEntry(entry, strFolder) || IsSameFolder(entry, strFolder)) {
            *pRemoved = true;
            return;
        }
        if (!first)
            kept += L";";
        kept += entry;
        first = false;
    });
    return kept;
}

void FindTrustingProfiles(const CString& strFolder, CStringArray& arrVariablesPaths)
{
    CStringArray variablesPaths;
    CollectVariablesKeys(variablesPaths);
    const CStringW folder = CStringW::FromAnsi(strFolder);
    for (int i = 0; i < variablesPaths.GetSize(); ++i) {
        CStringW current;
        bool holds = false;
        if (ReadTrustedPaths(variablesPaths[i], current))
            WithoutTrustedPathEntry(current, folder, &holds);
        if (holds)
            arrVariablesPaths.Add(variablesPaths[i]);
    }
}

bool RemoveTrustedPath(const CString& strVariablesPath, const CString& strFolder)
{
    CStringW current;
    if (!ReadTrustedPaths(strVariablesPath, current))
        return false;
    bool removed = false;
    const CStringW kept = WithoutTrustedPathEntry(current, CStringW::FromAnsi(strFolder), &removed);
    if (!removed)
        return true;  // nothing of ours there: no value is written
    RegKey variables;
    return variables.OpenAccess(HKEY_CURRENT_USER, strVariablesPath, KEY_SET_VALUE) == ERROR_SUCCESS &&
           variables.SetStringW(kValueName, kept);
}
