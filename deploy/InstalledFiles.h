// The list of the files the setup placed in an install folder, kept there with
// them: the uninstaller removes exactly these and leaves everything else (the
// user's own drawings in the library, say). A re-install adds to the list, so
// the files of an earlier version are still known.
#pragma once

#include "framework/String.h"
#include "platform/WinResult.h"

// The list's file name in the install folder (ANSI lines, CR LF, paths relative
// to the install folder).
constexpr char kInstalledFilesName[] = "InstalledFiles.lst";

// Adds the relative paths to the folder's list (each once, in any case); the
// failure when the list could not be written.
WinResult AddInstalledFiles(const CString& strInstallFolder, const CStringArray& relativePaths);
// Replaces the folder's list with these paths (after a removal: what is left).
WinResult WriteInstalledFiles(const CString& strInstallFolder, const CStringArray& relativePaths);
// The folder's list; false when it has none.
bool ReadInstalledFiles(const CString& strInstallFolder, CStringArray& relativePaths);
