// Makes every ticked AutoCAD release load the add-on module at start-up.
#include "acad/AcadRegistry.h"

#include "platform/BuildConstants.h"
#include "framework/Format.h"
#include "platform/Registry.h"

namespace {

// Module number loaded by each release, 2007 first.
const int kModuleNumbers[kReleaseCount] = {
    2008, 2008, 2009, 2010, 2010, 2010, 2013, 2013, 2015, 2015, 2017,
    2018, 2019, 2019, 2021, 2021, 2021, 2021, 2025, 2025, 2027,
};

// One registration: the application key and the module it loads.
struct LoaderEntry {
    const char* pszKeyFormat;
    int nKeyNumber;
    const char* pszModuleFormat;
    int nModuleNumber;
};

// Each release's own registration.
const char kOwnKeyFormat[] = "Applications\\Trabex%d";
const char kOwnModuleFormat[] = "%s\\Trabex%d.ARX";

// What the 64-bit edition registers in addition, per release.
struct EditionExtra {
    int nYear;
    LoaderEntry entry;
};
const EditionExtra kEdition64Extras[] = {
    {2009, {"Applications\\Trabex%d", 2008, "%s\\Trabex%d.ARX", 2008}},
    {2010, {"Applications\\Trabex%d_32", 2010, "%s\\Trabex%d_32.ARX", 2010}},
};

const DWORD kLoadOnStartup = 2;

// Replaces the registration under one open product key. A key name or module path
// that does not fit its buffer is skipped rather than written cut.
void WriteLoader(RegKey& product, const LoaderEntry& entry, const CString& installFolder)
{
    PathBuffer keyName;
    if (!FormatPath(keyName, entry.pszKeyFormat, entry.nKeyNumber))
        return;
    PathBuffer modulePath;
    if (!FormatPath(modulePath, entry.pszModuleFormat, installFolder.GetString(),
                    entry.nModuleNumber))
        return;

    product.DeleteSubKey(keyName);  // fails harmlessly when absent or not empty
    RegKey application;
    if (!application.Create(product.Get(), keyName))
        return;
    application.SetDword("LOADCTRLS", kLoadOnStartup);
    application.SetString("LOADER", modulePath);
}

} // namespace

int LongestLoaderSuffix()
{
    int best = 0;
    auto consider = [&](const char* pszFormat, int nModule) {
        CString suffix;
        suffix.Format(pszFormat, "", nModule);
        if (suffix.GetLength() > best)
            best = suffix.GetLength();
    };
    for (int module : kModuleNumbers)
        consider(kOwnModuleFormat, module);
    for (const EditionExtra& extra : kEdition64Extras)
        consider(extra.entry.pszModuleFormat, extra.entry.nModuleNumber);
    return best;
}

void CAcadRegistry::RegisterWithAcad(BOOL b2007, BOOL b2008, BOOL b2009, BOOL b2010,
                                     BOOL b2011, BOOL b2012, BOOL b2013, BOOL b2014,
                                     BOOL b2015, BOOL b2016, BOOL b2017, BOOL b2018,
                                     BOOL b2019, BOOL b2020, BOOL b2021, BOOL b2022,
                                     BOOL b2023, BOOL b2024, BOOL b2025, BOOL b2026,
                                     BOOL b2027)
{
    const BOOL ticked[kReleaseCount] = {b2007, b2008, b2009, b2010, b2011, b2012, b2013,
                                        b2014, b2015, b2016, b2017, b2018, b2019, b2020,
                                        b2021, b2022, b2023, b2024, b2025, b2026, b2027};
    for (int k = 0; k < kReleaseCount; ++k) {
        if (ticked[k])
            RegisterLoader(ReleaseYear(k));
    }
    AddTrustedPath();
}

void CAcadRegistry::RegisterLoader(int nYear)
{
    if (!IsKnownRelease(nYear))
        return;
    const int k = ReleaseIndex(nYear);
    const LoaderEntry own = {kOwnKeyFormat, nYear, kOwnModuleFormat, kModuleNumbers[k]};
    const CStringArray& productKeys = m_arrProductKeys[k];
    for (int i = 0; i < productKeys.GetSize(); ++i) {
        RegKey product;
        if (!product.Open(HKEY_LOCAL_MACHINE, productKeys[i]))
            continue;
        WriteLoader(product, own, m_strInstallFolder);
        if (g_nTargetBits != 64)
            continue;
        for (const EditionExtra& extra : kEdition64Extras) {
            if (extra.nYear == nYear)
                WriteLoader(product, extra.entry, m_strInstallFolder);
        }
    }
}
