// What the uninstaller takes off the machine for one install folder: the load
// registrations pointing into it, the folder's own trusted-path entries and
// AutoCAD 2008's plot driver kept before the install. Fonts stay (drawings use them).
#pragma once

#include "acad/AcadRegistry.h"
#include "framework/String.h"

class CRemovalPlan {
public:
    // Registration keys below HKEY_LOCAL_MACHINE, each once, with the release
    // ("AutoCAD 2010") in the parallel list.
    CStringArray m_arrRegistrations;
    CStringArray m_arrRegistrationReleases;
    // Variables keys below HKEY_CURRENT_USER whose TRUSTEDPATHS hold the folder.
    CStringArray m_arrProfiles;
    // AutoCAD 2008 Drv folders holding the original driver as pdfplot9.hdi.bak.
    CStringArray m_arrDriverFolders;

    bool IsEmpty() const;
};

// Finds, with discovery's product keys (both roots), what of the add-on installed
// in strFolder is on this machine. A registration counts only when its LOADER lies
// inside strFolder (without regard to case, on a backslash boundary).
void PlanRemoval(const CAcadRegistry& record, const CString& strFolder, CRemovalPlan& plan);

// The rights check before anything is removed: false, with the first key that
// refuses in strDenied, when a registration may not be deleted.
bool CanRemoveRegistrations(const CRemovalPlan& plan, CString& strDenied);

// Removes what the plan names. Whatever could not be removed is added to
// leftovers, one line each.
void RemoveFromAcad(const CRemovalPlan& plan, const CString& strFolder, CStringArray& leftovers);
