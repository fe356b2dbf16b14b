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
