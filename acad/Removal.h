// What the uninstaller takes off the machine for one install folder: the load
// registrations pointing into it, the folder's own trusted-path entries and
// AutoCAD 2008's plot driver kept before the install. Fonts stay (drawings use them).
#pragma once

#include "acad/AcadRegistry.h"
#include "framework/String.h"
#include "platform/Failure.h"

class CRemovalPlan {
public:
    // Registration keys below HKEY_LOCAL_MACHINE, each once, with the release
    // ("AutoCAD 2010") in the parallel list.
    CStringArray m_arrRegistrations;
    CStringArray m_arrRegistrationReleases;
    // Variables keys below HKEY_CURRENT_USER whose TRUSTEDPATHS hold the folder.
    CStringArray m_arrProfiles;
    // AutoCAD 2008 Drv folders whose pdfplot9.hdi is still the add-on's own and
    // whose original lies beside it as pdfplot9.hdi.bak: restored.
    CStringArray m_arrDriverFolders;
    // AutoCAD 2008 Drv folders without a backup whose pdfplot9.hdi is the
    // add-on's own, placed where AutoCAD had none: deleted, nothing restored.
    CStringArray m_arrDriversPlaced;
    // Drv folders with a pdfplot9.hdi.bak that is not restored: the live driver
    // is not the add-on's, or another installation's registration still uses it.
    CStringArray m_arrDriversLeft;

    bool IsEmpty() const;
};

// Finds, with discovery's product keys (both roots), what of the add-on installed
// in strFolder (a long, full path) is on this machine. A registration counts only
// when its LOADER lies inside strFolder.
void PlanRemoval(const CAcadRegistry& record, const CString& strFolder, CRemovalPlan& plan);

// The rights check before anything is removed: false, with the first key or
// file that refuses in strDenied, when a registration may not be deleted or a
// planned driver restore may not write the driver or delete its backup.
bool CanRemoveRegistrations(const CRemovalPlan& plan, CString& strDenied);

// Removes what the plan names. Whatever could not be removed is added to
// leftovers, one line each, with what the user can do about it (and why).
void RemoveFromAcad(const CRemovalPlan& plan, const CString& strFolder, FailureList& leftovers);

// Every Trabex registration still on the machine whose LOADER file no longer
// exists and does not lie in strOwnFolder (another installation's, or one left
// by hand), as lines with what to do: AutoCAD would complain about it at every start.
void FindBrokenRegistrations(const CAcadRegistry& record, const CString& strOwnFolder, FailureList& stale);
