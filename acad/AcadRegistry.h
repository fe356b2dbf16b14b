// The installation record: what the setup knows of the AutoCAD installations on
// this machine and where the add-on goes. One instance, theAcadRegistry.
#pragma once

#include <windows.h>

#include "acad/ReleaseTable.h"
#include "framework/String.h"

class CAcadRegistry {
public:
    CAcadRegistry();

    // The whole discovery: the Wow6432Node scan, then the main scan.
    void FindAcadReleases();
    void FindWow6432Releases();

    // Stores the install folder without one trailing backslash.
    void SetInstallFolder(CString folder);

    // Registers the add-on with every ticked release, then updates trusted paths.
    void RegisterWithAcad(BOOL b2007, BOOL b2008, BOOL b2009, BOOL b2010, BOOL b2011,
                          BOOL b2012, BOOL b2013, BOOL b2014, BOOL b2015, BOOL b2016,
                          BOOL b2017, BOOL b2018, BOOL b2019, BOOL b2020, BOOL b2021,
                          BOOL b2022, BOOL b2023, BOOL b2024, BOOL b2025, BOOL b2026,
                          BOOL b2027);
    void RegisterLoader(int nYear);
    void AddTrustedPath();
    // Whether the registrations of every ticked release can be written: each
    // product key (and an existing registration below it) is opened with the
    // access the writes need. False with the first key that refuses in strDenied.
    bool CanRegister(const BOOL (&ticked)[kReleaseCount], CString& strDenied) const;
    // Whether the support files of every ticked release can be written: each
    // existing Fonts folder (and AutoCAD 2008's Drv) is probed with a file of its
    // own. False with the first folder that refuses in strDenied.
    bool CanWriteSupportFolders(const BOOL (&ticked)[kReleaseCount], CString& strDenied) const;
    // Copies the fonts (and for 2008 the plot driver) into every AutoCAD folder.
    void InstallSupportFiles(BOOL b2007, BOOL b2008, BOOL b2009, BOOL b2010, BOOL b2011,
                             BOOL b2012, BOOL b2013, BOOL b2014, BOOL b2015, BOOL b2016,
                             BOOL b2017, BOOL b2018, BOOL b2019, BOOL b2020, BOOL b2021,
                             BOOL b2022, BOOL b2023, BOOL b2024, BOOL b2025, BOOL b2026,
                             BOOL b2027);

    // Recursive search below hParent for keys that hold m_strValueName.
    // nDepth counts the levels below the release key; the walk stops at the
    // registry's own nesting limit so that a linked loop cannot exhaust the stack.
    void CollectRegValues(HKEY hParent, const char* pszSubKey, CString strRelPath,
                          CString strBasePath, int nDepth = 0);

    // Both searches of one release key in a single walk: keys holding the folder
    // value and keys holding the product name, each with the stop rule of
    // CollectRegValues (a branch ends at the key that holds that value), in the
    // same order as two separate CollectRegValues walks would give them.
    struct ValueHits {
        CStringArray keys;
        CStringArray values;
    };
    void CollectProductValues(HKEY hParent, const char* pszSubKey, const CString& strRelPath,
                              const CString& strBasePath, ValueHits* pFolders, ValueHits* pNames,
                              int nDepth = 0);

    CString m_strInstallFolder;
    // What the last install could not write (release, and the key or file),
    // emptied by RegisterWithAcad; never a failure reported as success.
    CStringArray m_arrWriteFailures;
    // What the last install wrote and what it passed over, one line each, for the
    // log; emptied by RegisterWithAcad.
    CStringArray m_arrInstallLog;
    CStringArray m_arrAcadFolders[kReleaseCount];
    CStringArray m_arrProductKeys[kReleaseCount];
    CString m_strValueName;
    CStringArray m_arrFoundKeys;
    CStringArray m_arrFoundValues;

private:
    // One scan of a root below HKEY_LOCAL_MACHINE, testing the first nYears releases.
    void ScanRoot(const char* pszRootPath, int nYears);
    void MatchPasses(const CStringArray& folderKeys, const CStringArray& folders,
                     const CStringArray& nameKeys, const CStringArray& names, int nYears);
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

// Copies the fonts, and with bPlotDriver the plot driver, into one AutoCAD folder.
// A file that could not be written into an existing AutoCAD sub-folder is added
// to pFailures (when given). AutoCAD's own plot driver is replaced only once its
// backup exists as a file.
// Each file written is added to pWritten (when given).
void CopySupportFiles(CString strAcadFolder, bool bPlotDriver, CStringArray* pFailures = nullptr,
                      CStringArray* pWritten = nullptr);


// Removes one trailing backslash unless it is the only character.
void StripTrailingBackslash(CString& str);

extern CAcadRegistry theAcadRegistry;
