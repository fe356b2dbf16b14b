#include "sequence/EarlierInstall.h"

#include <cstdio>

#include "deploy/InstallLayout.h"
#include "deploy/PayloadLocation.h"
#include "deploy/UninstallEntry.h"
#include "platform/Files.h"

int ParseSetupVersion(const char* pszVersion)
{
    int major = 0, minor = 0, patch = 0;
    char rest = 0;
    if (!pszVersion || sscanf(pszVersion, "%d.%d.%d%c", &major, &minor, &patch, &rest) != 3 || major < 0 ||
        minor < 0 || minor > 99 || patch < 0 || patch > 99)
        return 0;
    return major * 10000 + minor * 100 + patch;
}

bool FindEarlierInstall(EarlierInstall& earlier)
{
    const CString location = UninstallEntryLocation();
    if (!IsInstallFolder(location) || GetPathKind(location) != kPathFolder)
        return false;
    earlier.strChosenFolder = CStringW::FromText(location.Left(location.ReverseFind('\\')));
    if (IsBareDrive(location.Left(location.ReverseFind('\\'))))
        earlier.strChosenFolder += L"\\";
    earlier.strVersion = UninstallEntryVersion();
    earlier.nVersion = ParseSetupVersion(earlier.strVersion);
    return true;
}
