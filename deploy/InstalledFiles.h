// The list of the files the setup placed in an install folder, kept there with
// them: the uninstaller removes exactly these and leaves everything else (the
// user's own drawings in the library, say). A re-install adds to the list, so
// the files of an earlier version are still known.
#pragma once

#include "framework/StringW.h"
#include "platform/WinResult.h"

class CString;

// The list's file name in the install folder: one path relative to the install
// folder per line, CR LF. Written as UTF-8 with a byte-order mark, so that a
// name of any language survives; a list without the mark (as earlier versions
// wrote it) is read as GBK.
constexpr char kInstalledFilesName[] = "InstalledFiles.lst";

// Adds the relative paths to the folder's list (each once, in any case); the
// failure when the list could not be written.
WinResult AddInstalledFiles(const CString& strInstallFolder, const CStringArrayW& relativePaths);
// Replaces the folder's list with these paths (after a removal: what is left).
WinResult WriteInstalledFiles(const CString& strInstallFolder, const CStringArrayW& relativePaths);
// The folder's list; false when it has none.
bool ReadInstalledFiles(const CString& strInstallFolder, CStringArrayW& relativePaths);
