// Takes the add-on's registrations, trusted-path entries and plot driver off the machine.
#include "acad/Removal.h"

#include "acad/TrustedPaths.h"
#include "deploy/PayloadLocation.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {

const char kApplications[] = "Applications";
const char kWow6432Prefix[] = "SOFTWARE\\Wow6432Node\\";

// "Trabex2010" or "Trabex2010_32": the names the setup gives its registrations.
bool IsRegistrationName(const CString& name)
{
    const CString head = name.Left(6);
    if (head.CompareNoCase("Trabex") != 0 || name.GetLength() < 10)
        return false;
    for (int i = 6; i < 10; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
    }
    return name.GetLength() == 10 || name.Mid(10).CompareNoCase("_32") == 0;
}

// True when the module path lies inside the folder: the folder and a backslash
// start it, without regard to case.
bool LiesInside(const CString& path, const CString& folder)
{
    CString head = path.Left(folder.GetLength() + 1);
    CString expected = folder + "\\";
    return head.MakeUpper() == expected.MakeUpper();
}

// To a 32-bit program on 64-bit Windows both roots name the same keys; one name
// per key, so nothing is listed or removed twice.
CString CanonicalKeyPath(const CString& path)
{
    const int prefix = static_cast<int>(sizeof kWow6432Prefix - 1);
    if (Processes::IsWow64() && path.Left(prefix).CompareNoCase(kWow6432Prefix) == 0)
        return "SOFTWARE\\" + path.Mid(prefix);
    return path;
}

bool Contains(const CStringArray& list, const CString& item)
{
    for (int i = 0; i < list.GetSize(); ++i) {
        if (list[i].CompareNoCase(item) == 0)
            return true;
    }
    return false;
}

// The registrations below one product key whose module lies in the folder.
void FindRegistrations(const CString& productKey, int nYear, const CString& folder, CRemovalPlan& plan,
                       CStringArray& seen)
{
    RegKey applications;
    if (applications.OpenAccess(HKEY_LOCAL_MACHINE, productKey + kApplications, KEY_READ) != ERROR_SUCCESS)
        return;
    const DWORD count = applications.SubKeyCount();
    for (DWORD i = 0; i < count; ++i) {
        char szName[256];
        if (!applications.EnumSubKey(i, szName) || !IsRegistrationName(szName))
            continue;
        RegKey registration;
        if (!registration.OpenRead(applications.Get(), szName))
            continue;
        char loader[MAX_PATH + 1] = {};
        DWORD cb = sizeof loader - 1;
        if (registration.QueryValue("LOADER", loader, &cb) != ERROR_SUCCESS || !LiesInside(loader, folder))
            continue;
        const CString path = productKey + kApplications + "\\" + szName;
        const CString canonical = CanonicalKeyPath(path);
        if (Contains(seen, canonical))
            continue;
        seen.Add(canonical);
        CString release;
        release.Format("AutoCAD %d", nYear);
        plan.m_arrRegistrations.Add(canonical);
        plan.m_arrRegistrationReleases.Add(release);
    }
}

} // namespace

bool CRemovalPlan::IsEmpty() const
{
    return m_arrRegistrations.IsEmpty() && m_arrProfiles.IsEmpty() && m_arrDriverFolders.IsEmpty();
}

void PlanRemoval(const CAcadRegistry& record, const CString& strFolder, CRemovalPlan& plan)
{
    CStringArray seen;
    for (int k = 0; k < kReleaseCount; ++k) {
        const CStringArray& productKeys = record.m_arrProductKeys[k];
        for (int i = 0; i < productKeys.GetSize(); ++i)
            FindRegistrations(productKeys[i], ReleaseYear(k), strFolder, plan, seen);
    }
    FindTrustingProfiles(strFolder, plan.m_arrProfiles);
    const CStringArray& folders2008 = record.m_arrAcadFolders[ReleaseIndex(kPlotDriverRelease)];
    for (int i = 0; i < folders2008.GetSize(); ++i) {
        const CString drv = folders2008[i] + "\\Drv";
        if (GetPathKind(drv + "\\" + kPlotDriverFile + kPlotDriverBackupSuffix) == kPathFile && !Contains(plan.m_arrDriverFolders, drv))
            plan.m_arrDriverFolders.Add(drv);
    }
}

bool CanRemoveRegistrations(const CRemovalPlan& plan, CString& strDenied)
{
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i) {
        RegKey registration;
        if (registration.OpenAccess(HKEY_LOCAL_MACHINE, plan.m_arrRegistrations[i], DELETE) ==
            ERROR_ACCESS_DENIED) {
            strDenied.Format("HKEY_LOCAL_MACHINE\\%s", plan.m_arrRegistrations[i].GetString());
            return false;
        }
    }
    return true;
}

void RemoveFromAcad(const CRemovalPlan& plan, const CString& strFolder, CStringArray& leftovers)
{
    RegKey machine;
    machine.Open(HKEY_LOCAL_MACHINE, nullptr);
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i) {
        const CString& key = plan.m_arrRegistrations[i];
        // AutoCAD adds Commands and Groups below a registration once the module has
        // loaded: the key goes with everything below it.
        RegKey probe;
        if (!machine.DeleteTree(key) && probe.OpenStatus(HKEY_LOCAL_MACHINE, key) != ERROR_FILE_NOT_FOUND)
            leftovers.Add(plan.m_arrRegistrationReleases[i] + ": HKEY_LOCAL_MACHINE\\" + key);
    }
    for (int i = 0; i < plan.m_arrProfiles.GetSize(); ++i) {
        if (!RemoveTrustedPath(plan.m_arrProfiles[i], strFolder))
            leftovers.Add("TRUSTEDPATHS: HKEY_CURRENT_USER\\" + plan.m_arrProfiles[i]);
    }
    for (int i = 0; i < plan.m_arrDriverFolders.GetSize(); ++i) {
        const CString driver = plan.m_arrDriverFolders[i] + "\\" + kPlotDriverFile;
        const CString backup = driver + kPlotDriverBackupSuffix;
        ClearReadOnly(driver);
        if (!Files::CopyOverwrite(backup, driver))
            leftovers.Add(driver);
        else if (!Files::Delete(backup))
            leftovers.Add(backup);
    }
}
