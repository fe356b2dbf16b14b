// One removal, whatever the face: the installation found from where the
// uninstaller runs, the checks, then the registrations, trusted paths, plot
// driver, installed files and the Apps & Features entry. It tells and asks
// through a Reporter. A running program cannot delete its own file, so
// Uninstall.exe always leaves its last steps to a copy of itself in a folder of
// its own below the temporary folder.
#pragma once

#include "acad/Removal.h"
#include "framework/Reporter.h"
#include "platform/WinResult.h"
#include "sequence/ExitCodes.h"

// The copy's switches: "/remove <pid> <id> <install folder> [log]" does the whole
// removal after process pid ended (the dialog's); "/cleanup <pid> <id> <install
// folder>" only deletes the uninstaller (when it is still the file <id>, the one
// that ran) and the emptied folders after pid ended (the silent run's).
constexpr char kRemoveSwitch[] = "/remove";
constexpr char kCleanupSwitch[] = "/cleanup";

class RemovalSequence {
public:
    // record is the discovery's; it is filled by Prepare.
    explicit RemovalSequence(CAcadRegistry& record);

    // The start of every removal: the folder in its one spelling (long, full),
    // which must be named like an install folder (else told: kExitNotInstallFolder),
    // then discovery and the plan of what of the add-on installed there is on
    // this machine.
    ExitCode Prepare(const CString& strFolder, Reporter& reporter);
    // AutoCAD running (kExitAcadRunning) or the rights missing (kExitNeedAdmin),
    // told; kExitDone when the removal may start.
    ExitCode Check(Reporter& reporter) const;
    // Removes what the plan names and the installed files, then the Apps &
    // Features entry when nothing was left; tells the final message, which also
    // names every Trabex registration left with a module that is gone. The
    // uninstaller pszUninstaller goes last and only when nothing is left; with
    // bDeferUninstaller it (and the emptied folders) are left to the cleanup copy,
    // and *pCleanup says whether to start it. kExitDone, or kExitWriteFailed with
    // the leftovers named.
    ExitCode Run(Reporter& reporter, const char* pszUninstaller, bool bDeferUninstaller,
                 bool* pCleanup = nullptr) const;

    const CString& Folder() const { return m_strFolder; }
    const CRemovalPlan& Plan() const { return m_plan; }

private:
    CAcadRegistry& m_record;
    CString m_strFolder;
    CRemovalPlan m_plan;
};

// Starts the temporary copy with pszSwitch for strFolder, waiting for this
// process; strLog is passed on (may be empty). On failure the copy's path is in
// strCopy.
WinResult HandOverRemoval(const char* pszSwitch, const CString& strFolder, const CStringW& strLog, CStringW& strCopy);
// In the copy: waits until the uninstaller that started it (process nId) has
// ended, so that its file and folder are free.
void WaitForUninstaller(unsigned long nId);
// In the copy: the copy's own file and folder go when Windows next starts.
void ForgetTemporaryCopy();
