// TRUSTEDPATHS in every AutoCAD profile of the current user: the install folder
// added, found again, and taken out.
#include "acad/TrustedPaths.h"

#include "acad/AcadRegistry.h"
#include "acad/KeyName.h"
#include "platform/Failure.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "res/Texts.h"

namespace {

const char kAcadRoot[] = "SOFTWARE\\Autodesk\\AutoCAD";
const char kVariablesKey[] = "Variables";
const wchar_t kValueName[] = L"TRUSTEDPATHS";
// AutoCAD's profiles lie in the user's hive: opened in its one view.
constexpr REGSAM kUserView = kUserHiveView;

// Reads the current TRUSTEDPATHS text through the wide functions, so entries in
// any language survive. Only an absent key or value counts as empty; any other
// error is returned and that profile is left as it is.
WinResult ReadTrustedPaths(const CString& variablesPath, CStringW& current)
{
    current = CStringW();
    RegKey variables;
    const WinResult opened = variables.Open(HKEY_CURRENT_USER, CStringW::FromText(variablesPath), KEY_QUERY_VALUE | kUserView);
    if (opened.Code() == ERROR_FILE_NOT_FOUND)
        return WinResult();
    if (!opened)
        return opened;
    const WinResult read = variables.QueryStringW(kValueName, current);
    return read.Code() == ERROR_FILE_NOT_FOUND ? WinResult() : read;
}

// A path made of a key path and a sub-key name, without a trailing backslash.
CString SubKeyPath(const char* pszFormat, const char* pszA, const char* pszB)
{
    CString path;
    path.Format(pszFormat, pszA, pszB);
    StripTrailingBackslash(path);
    return path;
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

// Appends the names of hKey's direct sub-keys that open with KEY_READ.
void ListOpenableSubKeys(HKEY hKey, CStringArray& arrNames)
{
    RegKey parent;
    if (!parent.Open(hKey, CStringW(), KEY_READ))
        return;
    for (RegSubKeys names(parent); names.Next();) {
        CString name;
        RegKey child;
        if (KeyNameToText(names.Name(), name) && child.Open(hKey, names.Name(), KEY_READ))
            arrNames.Add(name);
    }
}

// True when the entry is the folder itself, as the install writes it (in its own
// case or upper-cased); "\" and "\..." forms are the user's own and stay.
bool IsOwnTrustedPathEntry(const CStringW& strEntry, const CStringW& strFolder)
{
    CStringW entry = strEntry;
    CStringW folder = strFolder;
    return entry.MakeUpper() == folder.MakeUpper();
}

// True when one ";"-entry names the folder: equal without regard to (ASCII) case,
// allowing one trailing backslash, or the folder followed by "\..." (the folder
// with its sub-folders).
bool IsTrustedPathEntry(const CStringW& strEntry, const CStringW& strFolder)
{
    return IsOwnTrustedPathEntry(strEntry, strFolder) ||
           IsOwnTrustedPathEntry(strEntry, strFolder + L"\\") ||
           IsOwnTrustedPathEntry(strEntry, strFolder + L"\\...");
}

// The value to write back for the current value and the install folder.
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

// The Variables key of every AutoCAD profile of the current user, in the order
// the trusted-path update visits them.
void CollectVariablesKeys(CStringArray& variablesPaths)
{
    // Phase 1: the Profiles key of every product of every release.
    CStringArray profilesPaths;
    {
        RegKey root;
        if (root.Open(HKEY_CURRENT_USER, CStringW::FromText(kAcadRoot), KEY_READ | kUserView)) {
            for (RegSubKeys releases(root); releases.Next();) {
                CString name;
                RegKey release;
                if (!KeyNameToText(releases.Name(), name) || !release.Open(root.Get(), releases.Name(), KEY_READ))
                    continue;
                CStringArray products;
                ListOpenableSubKeys(release.Get(), products);
                const CString releasePath = CString(kAcadRoot) + "\\" + name;
                for (int p = 0; p < products.GetSize(); ++p)
                    profilesPaths.Add(SubKeyPath("%s\\%s", releasePath, products[p]) + "\\Profiles");
            }
        }
    }

    // Phase 2: the Variables key of every profile.
    for (int i = 0; i < profilesPaths.GetSize(); ++i) {
        RegKey profiles;
        if (!profiles.Open(HKEY_CURRENT_USER, CStringW::FromText(profilesPaths[i]), KEY_READ | kUserView))
            continue;
        CStringArray names;
        ListOpenableSubKeys(profiles.Get(), names);
        for (int p = 0; p < names.GetSize(); ++p)
            variablesPaths.Add(SubKeyPath("%s\\%s", profilesPaths[i], names[p]) + "\\" + kVariablesKey);
    }
}

// The value without every entry that is the folder itself (in any spelling); *pRemoved tells
// whether there was one. Every other entry stays, in its order.
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

} // namespace

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
    return Files::SameFolder(strEntry, strFolder);
}

bool TrustedPathsContain(const CStringW& strValue, const CStringW& strFolder)
{
    bool found = false;
    ForEachEntry(strValue, [&](const CStringW& entry) {
        found = found || IsTrustedPathEntry(entry, strFolder);
    });
    return found;
}

bool CAcadRegistry::AddTrustedPath(Reporter& log)
{
    CStringArray variablesPaths;
    CollectVariablesKeys(variablesPaths);

    // Phase 3: update each Variables key, creating it when missing.
    const CStringW folder = CStringW::FromText(m_strInstallFolder);
    bool all = true;
    for (int i = 0; i < variablesPaths.GetSize(); ++i) {
        CStringW current;
        // Unreadable: left as it is, never losing an entry.
        WinResult written = ReadTrustedPaths(variablesPaths[i], current);
        if (written) {
            const CStringW updated = ComposeTrustedPaths(current, folder);
            // Made below the profile only: a profile that went meanwhile is not made again.
            const CString& path = variablesPaths[i];
            RegKey profile;
            written = profile.Open(HKEY_CURRENT_USER, CStringW::FromText(path.Left(path.ReverseFind('\\'))),
                                   MAXIMUM_ALLOWED | kUserView);
            RegKey variables;
            if (written)
                written = variables.Create(profile.Get(), CStringW::FromText(kVariablesKey));
            if (written)
                written = variables.SetStringW(kValueName, updated);
        }
        if (!written) {
            log.Note(FailureLine(Texts::kLogTrustedNotWrittenFormat, CStringW::FromText(variablesPaths[i]),
                                 written.Code()));
            all = false;
            continue;
        }
        CString line;
        line.Format(Texts::kLogTrustedFormat, variablesPaths[i].GetString());
        log.Note(line);
    }
    return all;
}

void CollectTrustedPathEntries(CStringArrayW& arrEntries)
{
    CStringArray variablesPaths;
    CollectVariablesKeys(variablesPaths);
    for (int i = 0; i < variablesPaths.GetSize(); ++i) {
        CStringW current;
        if (!ReadTrustedPaths(variablesPaths[i], current))
            continue;
        ForEachEntry(current, [&](const CStringW& entry) {
            if (!entry.IsEmpty() && !ContainsNoCase(arrEntries, entry))
                arrEntries.Add(entry);
        });
    }
}

void FindTrustingProfiles(const CString& strFolder, CStringArray& arrVariablesPaths)
{
    CStringArray variablesPaths;
    CollectVariablesKeys(variablesPaths);
    const CStringW folder = CStringW::FromText(strFolder);
    for (int i = 0; i < variablesPaths.GetSize(); ++i) {
        CStringW current;
        bool holds = false;
        if (ReadTrustedPaths(variablesPaths[i], current))
            WithoutTrustedPathEntry(current, folder, &holds);
        if (holds)
            arrVariablesPaths.Add(variablesPaths[i]);
    }
}

WinResult RemoveTrustedPath(const CString& strVariablesPath, const CString& strFolder)
{
    CStringW current;
    const WinResult read = ReadTrustedPaths(strVariablesPath, current);
    if (!read)
        return read;
    bool removed = false;
    const CStringW kept = WithoutTrustedPathEntry(current, CStringW::FromText(strFolder), &removed);
    if (!removed)
        return WinResult();  // nothing of ours there: no value is written
    RegKey variables;
    const WinResult opened = variables.Open(HKEY_CURRENT_USER, CStringW::FromText(strVariablesPath), KEY_SET_VALUE | kUserView);
    if (!opened)
        return opened;
    return variables.SetStringW(kValueName, kept);
}
