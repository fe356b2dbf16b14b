// Where the add-on lies once installed: the install folder's name and the names
// of what the setup keeps in it, and the rules that tell such paths apart. The
// one place these names are spelled.
#pragma once

#include "framework/String.h"

#define TRABEX_INSTALL_FOLDER_NAME "Q-Ostrevo"
// The sub-folder of the chosen folder that the setup fills.
constexpr char kInstallFolderName[] = TRABEX_INSTALL_FOLDER_NAME;
// Appended to the chosen folder (kept without a trailing backslash).
constexpr char kInstallSubFolder[] = "\\" TRABEX_INSTALL_FOLDER_NAME;
// The uninstaller, the list of the placed files and the extended drawing
// library's folder, in the install folder (the library also in the payload).
constexpr char kUninstallerName[] = "Uninstall.exe";
constexpr char kInstalledFilesName[] = "InstalledFiles.lst";
constexpr char kLibraryFolderFormat[] = "%s\\Trabex扩展绘图库";

// This setup's version as people read it: "2026.3.31".
CString SetupVersionText();

// True when the folder's last level is the install folder's name (any case):
// the only folders the uninstaller and the per-user step act on.
bool IsInstallFolder(const CString& strFolder);
// True for a full path below a drive letter's root ("C:\x"), not a share, not
// relative, not the root itself.
bool IsBelowDriveRoot(const CString& strPath);
// True for a drive letter alone ("D:"), which Windows reads as that drive's
// current folder: a drive chosen as the folder is kept so, without its backslash.
bool IsBareDrive(const CString& strPath);
