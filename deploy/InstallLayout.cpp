#include "deploy/InstallLayout.h"

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
