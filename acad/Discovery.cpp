// Finds the AutoCAD releases registered below HKEY_LOCAL_MACHINE.
#include "acad/AcadRegistry.h"
#include "acad/KeyName.h"

#include <cstring>
#include <cwchar>

#include "platform/Files.h"
#include "platform/Registry.h"

namespace {

// The two roots, scanned in this order.
struct ScanRootInfo {
    const char* pszRootPath;
    int nYears;  // how many releases from 2007 on the scan tests
};
const ScanRootInfo kWow6432Root = {"SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD", kWow6432ReleaseCount};
const ScanRootInfo kMainRoot = {"SOFTWARE\\Autodesk\\AutoCAD", kReleaseCount};

const char kFolderValue[] = "AcadLocation";
const char kNameValue[] = "ProductName";

// Longest value name when the key cannot tell: every name is looked for.
constexpr DWORD kValueNameUnknown = 0xFFFFFFFF;

// Value data buffer of the collector; a value that does not fit counts as absent.
constexpr DWORD kValueBufferSize = 520;

// Index of the lowest year among the first nYears whose first occurrence in the
// product name starts at position 1 or later; -1 when none does. Read on the name
// as Windows gives it: "AutoCAD 2010 - Français" holds its year whatever GBK lacks.
int MatchReleaseYear(const CStringW& productName, int nYears)
{
    for (int k = 0; k < nYears; ++k) {
        wchar_t year[8];
        swprintf(year, 8, L"%d", ReleaseYear(k));
        const wchar_t* found = wcsstr(productName.GetString(), year);
        if (found && found > productName.GetString())
            return k;
    }
    return -1;
}

// Whether a key may hold a value of a name nNameLength characters long: not one
// without values, nor one whose value names are all shorter.
bool MayHoldValue(DWORD nValues, DWORD nLongestName, DWORD nNameLength)
{
    return nValues != 0 && nLongestName >= nNameLength;
}

} // namespace

void CAcadRegistry::FindAcadReleases()
{
    CStringW walked;
    const ReleaseHitsList wow = WalkRoot(kWow6432Root.pszRootPath, walked);
    MatchRoot(kWow6432Root.pszRootPath, kWow6432Root.nYears, wow);
    // A 32-bit program on 64-bit Windows reaches the 32-bit tree through both
    // names: the tree walked once serves the second root too, with that root's
    // own key paths and years.
    CStringW mainName;
    RegKey root;
    if (root.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(kMainRoot.pszRootPath), KEY_READ))
        mainName = root.FullName();
    root.Close();
    if (!walked.IsEmpty() && mainName.EqualsNoCase(walked)) {
        MatchRoot(kMainRoot.pszRootPath, kMainRoot.nYears, wow);
        return;
    }
    MatchRoot(kMainRoot.pszRootPath, kMainRoot.nYears, WalkRoot(kMainRoot.pszRootPath, walked));
}

void CAcadRegistry::FindWow6432Releases()
{
    CStringW walked;
    MatchRoot(kWow6432Root.pszRootPath, kWow6432Root.nYears, WalkRoot(kWow6432Root.pszRootPath, walked));
}

CAcadRegistry::ReleaseHitsList CAcadRegistry::WalkRoot(const char* pszRootPath, CStringW& strWalked)
{
    ReleaseHitsList found;
    strWalked = CStringW();
    RegKey root;
    if (!root.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(pszRootPath), KEY_READ))
        return found;
    strWalked = root.FullName();
    for (RegSubKeys releases(root); releases.Next();) {
        CString name;
        RegKey release;
        if (!KeyNameToText(releases.Name(), name) || !release.Open(root.Get(), releases.Name(), KEY_READ))
            continue;
        // One walk gathers both passes (half the registry calls of two walks);
        // the keys are kept below the root, which the match puts in front.
        ReleaseHits hits;
        CString relative;
        relative.Format("%s\\", name.GetString());
        CollectProductValues(release.Get(), "", CString(), relative, &hits.folders, &hits.names);
        found.Add(hits);
    }
    return found;
}

void CAcadRegistry::MatchRoot(const char* pszRootPath, int nYears, const ReleaseHitsList& found)
{
    const CString prefix = CString(pszRootPath) + "\\";
    for (int r = 0; r < found.GetSize(); ++r) {
        CStringArray folderKeys, nameKeys;
        for (int i = 0; i < found[r].folders.keys.GetSize(); ++i)
            folderKeys.Add(prefix + found[r].folders.keys[i]);
        for (int i = 0; i < found[r].names.keys.GetSize(); ++i)
            nameKeys.Add(prefix + found[r].names.keys[i]);
        MatchPasses(folderKeys, found[r].folders.values, nameKeys, found[r].names.values, nYears);
    }
    m_strValueName = kNameValue;  // the last name searched, as after two walks
}

void CAcadRegistry::MatchPasses(const CStringArray& folderKeys, const CStringArray& folders,
                                const CStringArray& nameKeys, const CStringArrayW& names,
                                int nYears)
{
    for (int f = 0; f < folderKeys.GetSize(); ++f) {
        CString folder = folders[f];
        StripTrailingBackslash(folder);
        for (int n = 0; n < nameKeys.GetSize(); ++n) {
            if (nameKeys[n] != folderKeys[f])
                continue;
            const int k = MatchReleaseYear(names[n], nYears);
            if (k >= 0) {
                m_arrProductKeys[k].Add(folderKeys[f]);
                m_arrAcadFolders[k].Add(folder);
            }
        }
    }
}

namespace {

// A value as read: a string value as Windows gives it, other data (it may be
// binary) as the program's text up to its first zero byte. False when it is
// absent, or other data longer than discovery's value buffer (kValueBufferSize).
bool ReadValueData(const RegKey& key, const char* pszName, bool& bString, CStringW& wide, CString& text)
{
    DWORD type = REG_NONE;
    CString bytes;
    if (!key.QueryRaw(CStringW::FromText(pszName).GetString(), &type, bytes))
        return false;
    bString = IsStringType(type);
    if (bString) {
        wide = StringData(bytes);
        return true;
    }
    text = CString(bytes.GetString());
    return bytes.GetLength() <= static_cast<int>(kValueBufferSize);
}

// Reads a value as text: a string value held in the program's code page whole.
// False when it is absent, does not fit the buffer (as the program's text,
// terminator included), or names a folder GBK cannot hold: for a folder, the
// short (8.3) form of the path is taken then, when Windows has one.
bool ReadValueText(const RegKey& key, const char* pszName, CString& text)
{
    bool isString = false;
    CStringW wide;
    if (!ReadValueData(key, pszName, isString, wide, text))
        return false;
    if (!isString)
        return true;
    if (!PathToText(wide, text) && !PathToText(Files::ShortPathW(wide), text))
        return false;
    return text.GetLength() < static_cast<int>(kValueBufferSize);
}

// A product name as Windows gives it. Every character is kept: the name is only
// searched for its year. False when it is absent or does not fit the buffer as
// the program's text would.
bool ReadValueWide(const RegKey& key, const char* pszName, CStringW& name)
{
    bool isString = false;
    CString text;
    if (!ReadValueData(key, pszName, isString, name, text))
        return false;
    if (!isString) {
        name = CStringW::FromText(text);
        return true;
    }
    return CString::FromWide(name.GetString(), name.GetLength()).GetLength() < static_cast<int>(kValueBufferSize);
}

} // namespace

void CAcadRegistry::CollectProductValues(HKEY hParent, const char* pszSubKey,
                                         const CString& strRelPath, const CString& strBasePath,
                                         ValueHits* pFolders, NameHits* pNames, int nDepth)
{
    RegKey key;
    // Links are not followed: a link back to the release key would record the
    // same product again at every depth.
    if (!key.Open(hParent, CStringW::FromText(pszSubKey), KEY_READ, RegKey::kOpenLink))
        return;
    DWORD subKeys = 0, values = 0, longestName = 0;
    if (!key.Counts(&subKeys, &values, &longestName)) {
        values = 1;  // unknown: look for the values all the same
        longestName = kValueNameUnknown;
    }

    // Each search still open in this branch looks at this key; a hit ends that
    // search for the branch below, as in CollectRegValues.
    const auto mayHold = [&](DWORD nNameLength) { return MayHoldValue(values, longestName, nNameLength); };
    CString folder;
    if (pFolders && mayHold(sizeof kFolderValue - 1) && ReadValueText(key, kFolderValue, folder)) {
        pFolders->keys.Add(strBasePath + strRelPath);
        pFolders->values.Add(folder);
        pFolders = nullptr;
    }
    CStringW name;
    if (pNames && mayHold(sizeof kNameValue - 1) && ReadValueWide(key, kNameValue, name)) {
        pNames->keys.Add(strBasePath + strRelPath);
        pNames->values.Add(name);
        pNames = nullptr;
    }
    if ((!pFolders && !pNames) || nDepth >= kMaxRegistryDepth)
        return;
    for (RegSubKeys names(key, subKeys); names.Next();) {
        CString name;
        if (!KeyNameToText(names.Name(), name))
            continue;
        // Most keys of a product are leaves with settings of their own: one that has
        // no sub-keys and no value name long enough for a search still open holds
        // nothing to find, and is passed over unopened.
        DWORD childKeys = 0, childValues = 0, childLongest = 0;
        if (names.CurrentCounts(&childKeys, &childValues, &childLongest) && childKeys == 0 &&
            !(pFolders && MayHoldValue(childValues, childLongest, sizeof kFolderValue - 1)) &&
            !(pNames && MayHoldValue(childValues, childLongest, sizeof kNameValue - 1)))
            continue;
        CollectProductValues(key.Get(), name, strRelPath + name + "\\", strBasePath, pFolders, pNames,
                             nDepth + 1);
    }
}

void CAcadRegistry::CollectRegValues(HKEY hParent, const char* pszSubKey, CString strRelPath,
                                     CString strBasePath, int nDepth)
{
    RegKey key;
    if (!key.Open(hParent, CStringW::FromText(pszSubKey), KEY_READ))
        return;

    CString text;
    if (ReadValueText(key, m_strValueName, text)) {
        m_arrFoundKeys.Add(strBasePath + strRelPath);
        m_arrFoundValues.Add(text);
        return;
    }

    if (nDepth >= kMaxRegistryDepth)
        return;
    for (RegSubKeys names(key); names.Next();) {
        CString name;
        if (KeyNameToText(names.Name(), name))
            CollectRegValues(key.Get(), name, strRelPath + name + "\\", strBasePath, nDepth + 1);
    }
}
