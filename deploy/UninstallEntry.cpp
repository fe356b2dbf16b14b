#include "deploy/UninstallEntry.h"

#include "deploy/InstallLayout.h"
#include "platform/BuildConstants.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "res/Company.h"
#include "res/Texts.h"

namespace {

const char kLocationValue[] = "InstallLocation";
const char kVersionValue[] = "DisplayVersion";

} // namespace

WinResult WriteUninstallEntry(const CString& strInstallFolder, unsigned long long nBytes)
{
    RegKey entry;
    WinResult result = entry.Create(HKEY_LOCAL_MACHINE, CStringW::FromText(kUninstallEntryKey));
    if (!result)
        return result;
    CString name, version, uninstaller, quoted, quiet;
    name.Format(Texts::kDisplayNameFormat, g_nTargetBits);
    version = SetupVersionText();
    uninstaller = strInstallFolder + "\\" + kUninstallerName;
    quoted = "\"" + uninstaller + "\"";
    quiet = quoted + " /S";
    const DWORD kb = static_cast<DWORD>((nBytes + 1023) / 1024);
    const CString today = Clock::Today();
    const struct {
        const char* pszName;
        const char* pszText;  // NULL: the number
        DWORD dwNumber;
    } values[] = {
        {"DisplayName", name, 0},
        {kVersionValue, version, 0},
        {"Publisher", TRABEX_COMPANY_NAME, 0},
        {"DisplayIcon", uninstaller, 0},
        {kLocationValue, strInstallFolder, 0},
        {"UninstallString", quoted, 0},
        {"QuietUninstallString", quiet, 0},
        {"EstimatedSize", nullptr, kb},
        {"InstallDate", today, 0},
        {"NoModify", nullptr, 1},
        {"NoRepair", nullptr, 1},
    };
    for (const auto& value : values) {
        const CStringW name = CStringW::FromText(value.pszName);
        const WinResult written = value.pszText ? entry.SetStringW(name.GetString(), CStringW::FromText(value.pszText))
                                                : entry.SetDword(name.GetString(), value.dwNumber);
        if (result && !written)
            result = written;
    }
    return result;
}

CString UninstallEntryLocation()
{
    RegKey entry;
    if (!entry.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(kUninstallEntryKey), KEY_READ))
        return CString();
    CString location;
    if (!entry.QueryText(CStringW::FromText(kLocationValue).GetString(), location) || location.GetLength() > MAX_PATH)
        return CString();
    return location;
}

CString UninstallEntryVersion()
{
    RegKey entry;
    CString version;
    if (!entry.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(kUninstallEntryKey), KEY_READ) || !entry.QueryText(CStringW::FromText(kVersionValue).GetString(), version))
        return CString();
    return version;
}

bool RemoveUninstallEntry(const CString& strInstallFolder)
{
    const CString location = UninstallEntryLocation();
    if (!Files::SameFolder(CStringW::FromText(location), CStringW::FromText(strInstallFolder)))
        return true;  // none, or another installation's: not ours to touch
    RegKey machine;
    if (!machine.Open(HKEY_LOCAL_MACHINE, CStringW(), MAXIMUM_ALLOWED))
        return false;
    return static_cast<bool>(machine.DeleteSubKey(CStringW::FromText(kUninstallEntryKey)));
}
