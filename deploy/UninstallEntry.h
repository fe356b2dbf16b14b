// The product's entry in Windows' list of installed programs (Settings → Apps,
// Programs and Features): HKEY_LOCAL_MACHINE\...\Uninstall\Q-Ostrevo, in the
// program's own registry view (a 32-bit program's entry is listed as 32-bit).
#pragma once

#include "framework/String.h"
#include "platform/WinResult.h"

// Below HKEY_LOCAL_MACHINE.
constexpr char kUninstallEntryKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo";

// Writes (or rewrites) the entry for an installation in strInstallFolder whose
// placed files take nBytes. The first failure when a value could not be written.
WinResult WriteUninstallEntry(const CString& strInstallFolder, unsigned long long nBytes);
// The entry's InstallLocation; empty when there is no entry.
CString UninstallEntryLocation();
// Its DisplayVersion ("2026.3.31"); empty when there is none.
CString UninstallEntryVersion();
// Removes the entry, but only when its InstallLocation is strInstallFolder.
// True when no entry for that folder is left.
bool RemoveUninstallEntry(const CString& strInstallFolder);
