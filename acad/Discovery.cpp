// Finds the AutoCAD releases registered below HKEY_LOCAL_MACHINE.
#include "acad/AcadRegistry.h"

#include <cstring>

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

// Value data buffer of the collector; a value that does not fit counts as absent.
constexpr DWORD kValueBufferSize = 520;

// Index of the lowest year among the first nYears whose first occurrence in the
// product name starts at position 1 or later; -1 when none does.
int MatchReleaseYear(const CString& productName, int nYears)
{
    for (int k = 0; k < nYears; ++k) {
        CString year;
        year.Format("%d", ReleaseYear(k));
        if (productName.Find(year) >= 1)
            return k;
    }
    return -1;
}

} // namespace

void CAcadRegistry::FindAcadReleases()
{
    FindWow6432Releases();
    ScanRoot(kMainRoot.pszRootPath, kMainRoot.nYears);
}

void CAcadRegistry::FindWow6432Releases()
{
    ScanRoot(kWow6432Root.pszRootPath, kWow6432Root.nYears);
}

void CAcadRegistry::ScanRoot(const char* pszRootPath, int nYears)
{
    RegKey machine;
    if (!machine.Open(HKEY_LOCAL_MACHINE, nullptr))
        return;
    RegKey root;
    if (!root.OpenRead(machine.Get(), pszRootPath))
        return;

    const DWORD count = root.SubKeyCount();
    for (DWORD i = 0; i < count; ++i) {
        char szRelease[256];
        // A name that cannot be read (the registry changed meanwhile) is skipped,
        // never searched as the empty name, which would be the root itself.
        if (!root.EnumSubKey(i, szRelease))
            continue;
        CString basePath;
        basePath.Format("%s\\%s\\", pszRootPath, szRelease);

        RegKey release;
        if (!release.OpenRead(root.Get(), szRelease))
            continue;

        m_arrFoundKeys.RemoveAll();
        m_arrFoundValues.RemoveAll();
        m_strValueName = kFolderValue;
        CollectRegValues(release.Get(), "", CString(), basePath);
        const CStringArray folderKeys = m_arrFoundKeys;
        const CStringArray folders = m_arrFoundValues;

        m_arrFoundKeys.RemoveAll();
        m_arrFoundValues.RemoveAll();
        m_strValueName = kNameValue;
        CollectRegValues(release.Get(), "", CString(), basePath);

        MatchPasses(folderKeys, folders, m_arrFoundKeys, m_arrFoundValues, nYears);
    }
}

void CAcadRegistry::MatchPasses(const CStringArray& folderKeys, const CStringArray& folders,
                                const CStringArray& nameKeys, const CStringArray& names,
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

void CAcadRegistry::CollectRegValues(HKEY hParent, const char* pszSubKey, CString strRelPath,
                                     CString strBasePath, int nDepth)
{
    RegKey key;
    if (!key.OpenRead(hParent, pszSubKey))
        return;

    char data[kValueBufferSize];
    std::memset(data, 0, sizeof data);
    DWORD cb = sizeof data;
    if (key.QueryValue(m_strValueName, data, &cb) == ERROR_SUCCESS) {
        m_arrFoundKeys.Add(strBasePath + strRelPath);
        // Text up to the first zero byte, never beyond the buffer (data may be binary).
        size_t len = 0;
        while (len < sizeof data && data[len] != '\0')
            ++len;
        m_arrFoundValues.Add(CString(data, static_cast<int>(len)));
        return;
    }

    if (nDepth >= kMaxRegistryDepth)
        return;
    const DWORD count = key.SubKeyCount();
    for (DWORD i = 0; i < count; ++i) {
        char szName[256];
        if (!key.EnumSubKey(i, szName))
            continue;
        CollectRegValues(key.Get(), szName, strRelPath + szName + "\\", strBasePath, nDepth + 1);
    }
}
