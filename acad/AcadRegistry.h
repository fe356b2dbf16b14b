// The installation record: what the setup knows of the AutoCAD installations on
// this machine and where the add-on goes. One instance, theAcadRegistry.
#pragma once

#include <windows.h>

#include "acad/ReleaseTable.h"
#include "framework/Reporter.h"
#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/Failure.h"

class HeldFiles;

class CAcadRegistry {
public:
    CAcadRegistry();

    // The whole discovery: the Wow6432Node scan, then the main scan.
    void FindAcadReleases();
    void FindWow6432Releases();

    // Stores the install folder without one trailing backslash.
    void SetInstallFolder(CString folder);

    // Registers the add-on with every ticked release (the trusted paths are per
    // user: the sequence decides whose). Each registration written or not is a
    // line of log; what could not be
    // written is added to failures (release and key, with the reason).
    void RegisterWithAcad(const ReleaseTicks& ticked, Reporter& log, FailureList& failures);
    void RegisterLoader(int nYear, Reporter& log, FailureList& failures);
    // Each profile written or not is a line of log (a profile left alone is no
    // failure of the install: AutoCAD then asks before loading the module).
    // True when every profile was written. Creates a profile's missing Variables
    // key, never a profile or anything above it.
    bool AddTrustedPath(Reporter& log);
    // Whether the registrations of every ticked release can be written: each
    // product key (and an existing registration below it) is opened with the
    // access the writes need. False with the first key that refuses in strDenied.
    bool CanRegister(const ReleaseTicks& ticked, CString& strDenied) const;
    // Whether the support files of every ticked release can be written: each
    // existing Fonts folder (and AutoCAD 2008's Drv) is probed with a file of its
    // own. False with the first folder that refuses in strDenied.
    bool CanWriteSupportFolders(const ReleaseTicks& ticked, CString& strDenied) const;
    // Copies the fonts (and for 2008 the plot driver) from the payload folder
    // (empty: none, nothing can be copied) into every AutoCAD folder of the
    // ticked releases; each file is a line of log, each one not written a failure.
    // With pListed (the payload's files checked against the program's list) only
    // the files held there are copied, each through its held handle.
    void InstallSupportFiles(const ReleaseTicks& ticked, const CStringW& strPayload, Reporter& log,
                             FailureList& failures, const HeldFiles* pListed = nullptr);

    // Recursive search below hParent for keys that hold m_strValueName.
    // nDepth counts the levels below the release key; the walk stops at the
    // registry's own nesting limit so that a linked loop cannot exhaust the stack.
    void CollectRegValues(HKEY hParent, const char* pszSubKey, CString strRelPath,
                          CString strBasePath, int nDepth = 0);

    // Both searches of one release key in a single walk: keys holding the folder
    // value and keys holding the product name, each with the stop rule of
    // CollectRegValues (a branch ends at the key that holds that value), in the
    // same order as two separate CollectRegValues walks would give them.
    // Folders as the program's text; names as Windows gives them (a name is
    // only searched for its year, and may hold characters GBK lacks).
    struct ValueHits {
        CStringArray keys;
        CStringArray values;
    };
    struct NameHits {
        CStringArray keys;
        CStringArrayW values;
    };
    void CollectProductValues(HKEY hParent, const char* pszSubKey, const CString& strRelPath,
                              const CString& strBasePath, ValueHits* pFolders, NameHits* pNames,
                              int nDepth = 0);

    CString m_strInstallFolder;
    CStringArray m_arrAcadFolders[kReleaseCount];
    CStringArray m_arrProductKeys[kReleaseCount];
    CString m_strValueName;
    CStringArray m_arrFoundKeys;
    CStringArray m_arrFoundValues;

private:
    // What one walk of a release key found, its keys below the root.
    struct ReleaseHits {
        ValueHits folders;
        NameHits names;
    };
    typedef CArray<ReleaseHits> ReleaseHitsList;
    // Walks every release key below a root of HKEY_LOCAL_MACHINE; strWalked is
    // the root's full name (empty when it is not there).
    ReleaseHitsList WalkRoot(const char* pszRootPath, CStringW& strWalked);
    // Records what a walk found as the root's own, testing the first nYears releases.
    void MatchRoot(const char* pszRootPath, int nYears, const ReleaseHitsList& found);
    void MatchPasses(const CStringArray& folderKeys, const CStringArray& folders,
                     const CStringArray& nameKeys, const CStringArrayW& names, int nYears);
};

// AutoCAD 2008's PDF plot driver, which the add-on replaces, and the suffix of
// the copy that keeps AutoCAD's own.
constexpr int kPlotDriverRelease = 2008;
constexpr char kPlotDriverFile[] = "pdfplot9.hdi";
constexpr char kPlotDriverBackupSuffix[] = ".bak";
// The add-on's own driver, as the payload (and the install folder) holds it.
constexpr char kPlotDriverSource[] = "Trabex.prt5";

// The first release the 32-bit edition withholds.
constexpr int kFirstWithheldRelease = 2017;

// Deepest level below a release key that discovery descends to.
constexpr int kMaxRegistryDepth = 512;

// Length of the longest module path the registration writes after the install
// folder ("\Trabex2010_32.ARX").
int LongestLoaderSuffix();

// Copies the fonts, and with bPlotDriver the plot driver, from the payload
// folder (empty: none) into one AutoCAD folder of release nYear. Each file
// written is a line of log; one that could not be written into an existing
// AutoCAD sub-folder is added to failures. AutoCAD's own plot driver is replaced
// only once its backup exists as a file. pListed as for InstallSupportFiles.
void CopySupportFiles(const CString& strAcadFolder, const CStringW& strPayload, int nYear, bool bPlotDriver,
                      Reporter& log, FailureList& failures, const HeldFiles* pListed = nullptr);

extern CAcadRegistry theAcadRegistry;
