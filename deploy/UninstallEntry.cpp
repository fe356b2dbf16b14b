#include "deploy/UninstallEntry.h"

#include "platform/BuildConstants.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "res/Texts.h"

namespace {

const char kLocationValue[] = "InstallLocation";

} // namespace

bool WriteUninstallEntry(const CString& strInstallFolder, unsigned long long nBytes)
{
    RegKey entry;
    if (!entry.Create(HKEY_LOCAL_MACHINE, kUninstallEntryKey))
        return false;
    CString name, version, uninstaller, quoted, quiet;
    name.Format(Texts::kDisplayNameFormat, g_nTargetBits);
    version.Format("%d.%d.%d", g_nSetupVersion / 10000, (g_nSetupVersion % 10000) / 100,
                   g_nSetupVersion % 100);
    uninstaller = strInstallFolder + "\\" + kUninstallerName;
    quoted = "\"" + uninstaller + "\"";
    quiet = quoted + " /S";
    const DWORD kb = static_cast<DWORD>((nBytes + 1023) / 1024);
    bool ok = entry.SetString("DisplayName", name);
    ok = entry.SetString("DisplayVersion", version) && ok;
    ok = entry.SetString("DisplayIcon", uninstaller) && ok;
    ok = entry.SetString(kLocationValue, strInstallFolder) && ok;
    ok = entry.SetString("UninstallString", quoted) && ok;
    ok = entry.SetString("QuietUninstallString", quiet) && ok;
    ok = entry.SetDword("EstimatedSize", kb) && ok;
    ok = entry.SetString("InstallDate", Clock::Today()) && ok;
    ok = entry.SetDword("NoModify", 1) && ok;
    ok = entry.SetDword("NoRepair", 1) && ok;
    return ok;
}

CString UninstallEntryLocation()
{
    RegKey entry;
    if (!entry.OpenRead(HKEY_LOCAL_MACHINE, kUninstallEntryKey))
        return CString();
    char location[MAX_PATH + 1] = {};
    DWORD cb = sizeof location - 1;
    if (entry.QueryValue(kLocationValue, location, &cb) != ERROR_SUCCESS)
        return CString();
    return CString(location);
}

bool RemoveUninstallEntry(const CString& strInstallFolder)
{
    const CString location = UninstallEntryLocation();
    if (location.IsEmpty() ||
        Files::LongFullPath(location).CompareNoCase(Files::LongFullPath(strInstallFolder)) != 0)
        return true;  // none, or another installation's: not ours to touch
    RegKey machine;
    if (!machine.Open(HKEY_LOCAL_MACHINE, nullptr))
        return false;
    return machine.DeleteSubKey(kUninstallEntryKey);
}
