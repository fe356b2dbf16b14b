// One removal, whatever the face: the checks, then the registrations, trusted
// paths, plot driver, installed files and the Apps & Features entry. It tells and
// asks through a Reporter. A running program cannot delete its own file, so
// Uninstall.exe always leaves its last steps to a copy of itself in a folder of
// its own below the temporary folder.
#pragma once

#include "acad/Removal.h"
#include "framework/Reporter.h"
#include "sequence/ExitCodes.h"

// The copy's switches: "/remove <pid> <install folder> [log]" does the whole removal
// after process pid ended (the dialog's); "/cleanup <pid> <install folder>" only
// deletes the uninstaller and the emptied folders after pid ended (the silent run's).
constexpr char kRemoveSwitch[] = "/remove";
constexpr char kCleanupSwitch[] = "/cleanup";

// True when strFolder is named like an install folder (...\Q-Ostrevo): nowhere
// else are files ever deleted, whatever the command line says.
bool IsInstallFolder(const CString& strFolder);

// AutoCAD running (kExitAcadRunning) or the rights missing (kExitNeedAdmin), told;
// kExitDone when the removal may start.
ExitCode CheckRemoval(const CRemovalPlan& plan, Reporter& reporter);

// Removes what plan names and the installed files, then the Apps & Features
// entry when nothing was left; tells the final message, which also names every
// Trabex registration of record's releases left with a module that is gone. The uninstaller
// pszUninstaller goes last and only when nothing is left; with
// bDeferUninstaller it (and the emptied folders) are left to the cleanup copy,
// and *pCleanup says whether to start it. kExitDone, or kExitWriteFailed with
// the leftovers named.
ExitCode RunRemovalSequence(const CAcadRegistry& record, const CRemovalPlan& plan, const CString& strFolder, Reporter& reporter,
                            const char* pszUninstaller, bool bDeferUninstaller, bool* pCleanup = nullptr);

// Starts the temporary copy with pszSwitch for strFolder, waiting for this
// process; pszLog is passed on (may be empty). False (with the copy's path in
// strCopy) when it cannot be made or started.
bool HandOverRemoval(const char* pszSwitch, const CString& strFolder, const char* pszLog, CString& strCopy);
// In the copy: the copy's own file and folder go when Windows next starts.
void ForgetTemporaryCopy();
