// Takes the add-on's registrations, trusted-path entries and plot driver off the machine.
#include "acad/Removal.h"

#include "acad/KeyName.h"
#include "acad/TrustedPaths.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "res/Texts.h"

#include <cstring>

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

// Calls visit(name, loader) for each Trabex registration below the product key.
template <typename Visit>
void ForEachRegistration(const CString& productKey, Visit visit)
{
    RegKey applications;
    if (!applications.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(productKey + kApplications), KEY_READ,
                           RegKey::kOneLevelAtATime))
        return;
    for (RegSubKeys names(applications); names.Next();) {
        CString name;
        if (!KeyNameToText(names.Name(), name) || !IsRegistrationName(name))
            continue;
        RegKey registration;
        if (!registration.Open(applications.Get(), names.Name(), KEY_READ))
            continue;
        CString loader;
        if (registration.QueryText(L"LOADER", loader) && loader.GetLength() <= MAX_PATH)
            visit(name, loader);
    }
}

// The registrations below one product key whose module lies in the folder;
// *pOther tells whether one lies elsewhere.
void FindRegistrations(const CString& productKey, int nYear, const CString& folder, CRemovalPlan& plan,
                       CStringArray& seen, bool* pOther)
{
    ForEachRegistration(productKey, [&](const CString& name, const CString& loader) {
        if (!Files::LiesInside(CStringW::FromText(loader), CStringW::FromText(folder))) {
            *pOther = true;
            return;
        }
        const CString canonical = CanonicalKeyPath(productKey + kApplications + "\\" + name);
        if (Contains(seen, canonical))
            return;
        seen.Add(canonical);
        CString release;
        release.Format("AutoCAD %d", nYear);
        plan.m_arrRegistrations.Add(canonical);
        plan.m_arrRegistrationReleases.Add(release);
    });
}

} // namespace

bool CRemovalPlan::IsEmpty() const
{
    return m_arrRegistrations.IsEmpty() && m_arrProfiles.IsEmpty() && m_arrDriverFolders.IsEmpty() &&
           m_arrDriversPlaced.IsEmpty();  // drivers left: nothing to do
}

void PlanRemoval(const CAcadRegistry& record, const CString& strFolder, CRemovalPlan& plan)
{
    CStringArray seen;
    bool other2008 = false;
    for (int k = 0; k < kReleaseCount; ++k) {
        const CStringArray& productKeys = record.m_arrProductKeys[k];
        bool other = false;
        for (int i = 0; i < productKeys.GetSize(); ++i)
            FindRegistrations(productKeys[i], ReleaseYear(k), strFolder, plan, seen, &other);
        if (ReleaseYear(k) == kPlotDriverRelease)
            other2008 = other;
    }
    FindTrustingProfiles(strFolder, plan.m_arrProfiles);
    // AutoCAD's own driver comes back only over the add-on's own file, and only
    // when no other installation's 2008 registration still uses that file.
    const CString ownDriver = strFolder + "\\" + kPlotDriverSource;
    const CStringArray& folders2008 = record.m_arrAcadFolders[ReleaseIndex(kPlotDriverRelease)];
    for (int i = 0; i < folders2008.GetSize(); ++i) {
        const CString drv = folders2008[i] + "\\Drv";
        const CString driver = drv + "\\" + kPlotDriverFile;
        if (Contains(plan.m_arrDriverFolders, drv) || Contains(plan.m_arrDriversLeft, drv) ||
            Contains(plan.m_arrDriversPlaced, drv))
            continue;
        const CStringW driverW = CStringW::FromText(driver);
        const CStringW backupW = CStringW::FromText(driver + kPlotDriverBackupSuffix);
        const bool own = Files::SameContent(driverW, CStringW::FromText(ownDriver));
        if (GetPathKind(backupW) != kPathFile) {
            if (!other2008 && own && !Files::Exists(backupW))
                plan.m_arrDriversPlaced.Add(drv);
            continue;
        }
        if (!other2008 && own)
            plan.m_arrDriverFolders.Add(drv);
        else
            plan.m_arrDriversLeft.Add(drv);
    }
}

bool CanRemoveRegistrations(const CRemovalPlan& plan, CString& strDenied)
{
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i) {
        RegKey registration;
        if (registration.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(plan.m_arrRegistrations[i]), DELETE,
                              RegKey::kOneLevelAtATime)
                .Code() == ERROR_ACCESS_DENIED) {
            strDenied.Format("HKEY_LOCAL_MACHINE\\%s", plan.m_arrRegistrations[i].GetString());
            return false;
        }
    }
    for (int i = 0; i < plan.m_arrDriverFolders.GetSize(); ++i) {
        const CString driver = plan.m_arrDriverFolders[i] + "\\" + kPlotDriverFile;
        const CString backup = driver + kPlotDriverBackupSuffix;
        if (Files::ProbeAccess(CStringW::FromText(driver), GENERIC_WRITE) == ERROR_ACCESS_DENIED) {
            strDenied = driver;
            return false;
        }
        if (Files::ProbeAccess(CStringW::FromText(backup), DELETE) == ERROR_ACCESS_DENIED) {
            strDenied = backup;
            return false;
        }
    }
    for (int i = 0; i < plan.m_arrDriversPlaced.GetSize(); ++i) {
        const CString driver = plan.m_arrDriversPlaced[i] + "\\" + kPlotDriverFile;
        if (Files::ProbeAccess(CStringW::FromText(driver), DELETE) == ERROR_ACCESS_DENIED) {
            strDenied = driver;
            return false;
        }
    }
    return true;
}

void RemoveFromAcad(const CRemovalPlan& plan, const CString& strFolder, FailureList& leftovers)
{
    auto leftover = [&](const char* pszFormat, const CString& a, const CString& b, DWORD dwError) {
        CString line;
        line.Format(pszFormat, a.GetString(), b.GetString());
        leftovers.Add(CStringW::FromText(line), dwError);
    };
    for (int i = 0; i < plan.m_arrRegistrations.GetSize(); ++i) {
        const CString& key = plan.m_arrRegistrations[i];
        // AutoCAD adds Commands and Groups below a registration once the module has
        // loaded: the key goes with everything below it. Its Applications key is
        // opened one level at a time, as discovery reached the product key.
        const int cut = key.ReverseFind('\\');
        RegKey applications;
        const WinResult opened =
            applications.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(key.Left(cut)), KEY_READ, RegKey::kOneLevelAtATime);
        const WinResult deleted = opened ? applications.DeleteTree(CStringW::FromText(key.Mid(cut + 1))) : opened;
        RegKey probe;
        if (!deleted &&
            probe.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(key), KEY_READ, RegKey::kOneLevelAtATime).Code() != ERROR_FILE_NOT_FOUND)
            leftover(Texts::kLeftRegistrationFormat, plan.m_arrRegistrationReleases[i], key, deleted.Code());
    }
    for (int i = 0; i < plan.m_arrProfiles.GetSize(); ++i) {
        const WinResult removed = RemoveTrustedPath(plan.m_arrProfiles[i], strFolder);
        if (!removed)
            leftover(Texts::kLeftTrustedPathFormat, strFolder, plan.m_arrProfiles[i], removed.Code());
    }
    for (int i = 0; i < plan.m_arrDriverFolders.GetSize(); ++i) {
        const CString driver = plan.m_arrDriverFolders[i] + "\\" + kPlotDriverFile;
        const CString backup = driver + kPlotDriverBackupSuffix;
        const CStringW driverW = CStringW::FromText(driver);
        const CStringW backupW = CStringW::FromText(backup);
        ClearReadOnly(driverW);
        const WinResult restored = Files::PlaceFile(backupW, driverW);
        if (!restored) {
            leftover(Texts::kLeftDriverFormat, driver, CString(), restored.Code());
            continue;
        }
        ClearReadOnly(backupW);
        const WinResult deleted = Files::Delete(backupW);
        if (!deleted)
            leftover(Texts::kLeftFileFormat, backup, CString(), deleted.Code());
    }
    for (int i = 0; i < plan.m_arrDriversPlaced.GetSize(); ++i) {
        const CString driver = plan.m_arrDriversPlaced[i] + "\\" + kPlotDriverFile;
        const CStringW driverW = CStringW::FromText(driver);
        ClearReadOnly(driverW);
        const WinResult deleted = Files::Delete(driverW);
        if (!deleted)
            leftover(Texts::kLeftFileFormat, driver, CString(), deleted.Code());
    }
}

void FindBrokenRegistrations(const CAcadRegistry& record, const CString& strOwnFolder, FailureList& stale)
{
    CStringArray seen;
    for (int k = 0; k < kReleaseCount; ++k) {
        const CStringArray& productKeys = record.m_arrProductKeys[k];
        for (int i = 0; i < productKeys.GetSize(); ++i) {
            ForEachRegistration(productKeys[i], [&](const CString& name, const CString& loader) {
                const CString key = CanonicalKeyPath(productKeys[i] + kApplications + "\\" + name);
                const CStringW loaderW = CStringW::FromText(loader);
                if (GetPathKind(loaderW) == kPathFile || Contains(seen, key) ||
                    Files::LiesInside(loaderW, CStringW::FromText(strOwnFolder)))
                    return;
                seen.Add(key);
                CString release, line;
                release.Format("AutoCAD %d", ReleaseYear(k));
                line.Format(Texts::kLeftBrokenRegistrationFormat, release.GetString(), key.GetString(), loader.GetString());
                stale.Add(CStringW::FromText(line), ERROR_FILE_NOT_FOUND);
            });
        }
    }
}
