#include "deploy/InstallLayout.h"

#include "platform/BuildConstants.h"

CString SetupVersionText()
{
    CString version;
    version.Format("%d.%d.%d", g_nSetupVersion / 10000, (g_nSetupVersion % 10000) / 100, g_nSetupVersion % 100);
    return version;
}

bool IsInstallFolder(const CString& strFolder)
{
    const int cut = strFolder.ReverseFind('\\');
    return cut > 0 && strFolder.Mid(cut + 1).CompareNoCase(kInstallFolderName) == 0;
}

bool IsBelowDriveRoot(const CString& strPath)
{
    return strPath.GetLength() >= 4 && strPath[1] == ':' && strPath[2] == '\\';
}

bool IsBareDrive(const CString& strPath)
{
    return strPath.GetLength() == 2 && strPath[1] == ':';
}
