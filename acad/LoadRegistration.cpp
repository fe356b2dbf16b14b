// Makes every ticked AutoCAD release load the add-on module at start-up.
#include "acad/AcadRegistry.h"

#include "framework/Format.h"
#include "platform/BuildConstants.h"
#include "platform/Registry.h"
#include "res/Texts.h"

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
// What the writes below need of a product key, and of a registration already there.
const REGSAM kProductAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;
const REGSAM kRegistrationAccess = KEY_READ | KEY_SET_VALUE | DELETE;

// "AutoCAD 2010: HKEY_LOCAL_MACHINE\<key>", for the list of what was not written.
CString FailureText(int nYear, const CString& productKey, const char* pszName)
{
    CString text;
    text.Format("AutoCAD %d: HKEY_LOCAL_MACHINE\\%s%s", nYear, productKey.GetString(), pszName);
    return text;
}

// Replaces the registration under one open product key; the failure when it
// could not be written whole. A key name or module path that does not fit its
// buffer is never written cut.
WinResult WriteLoader(RegKey& product, const LoaderEntry& entry, const CString& installFolder,
                      CString& keyName)
{
    PathBuffer name;
    const bool nameFits = FormatPath(name, entry.pszKeyFormat, entry.nKeyNumber);
    keyName = name;
    PathBuffer modulePath;
    if (!nameFits || !FormatPath(modulePath, entry.pszModuleFormat, installFolder.GetString(),
                                 entry.nModuleNumber))
        return WinResult(ERROR_FILENAME_EXCED_RANGE);

    const CStringW nameW = CStringW::FromText(name);
    product.DeleteSubKey(nameW);  // fails harmlessly when absent or not empty
    RegKey application;
    WinResult written = application.Create(product.Get(), nameW);
    if (!written)
        return written;
    written = application.SetDword(L"LOADCTRLS", kLoadOnStartup);
    const WinResult loader = application.SetStringW(L"LOADER", CStringW::FromText(modulePath));
    return written ? loader : written;
}

// The log line of one registration, with the reason when it was not written.
// A registration written is a line of log; one not written is recorded as a failure.
void NoteRegistration(const CString& where, const WinResult& written, Reporter& log, FailureList& failures)
{
    if (!written) {
        failures.Record(log, Texts::kLogNotWrittenFormat, CStringW::FromText(where), written.Code());
        return;
    }
    CString line;
    line.Format(Texts::kLogRegisteredFormat, where.GetString());
    log.Note(line);
}

// The registrations one release writes under each of its product keys.
int LoaderEntries(int nYear, LoaderEntry (&entries)[3])
{
    int n = 0;
    entries[n++] = {kOwnKeyFormat, nYear, kOwnModuleFormat, kModuleNumbers[ReleaseIndex(nYear)]};
    if (g_nTargetBits == 64) {
        for (const EditionExtra& extra : kEdition64Extras) {
            if (extra.nYear == nYear)
                entries[n++] = extra.entry;
        }
    }
    return n;
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

void CAcadRegistry::RegisterWithAcad(const ReleaseTicks& ticked, Reporter& log, FailureList& failures)
{
    for (int k = 0; k < kReleaseCount; ++k) {
        if (ticked[k])
            RegisterLoader(ReleaseYear(k), log, failures);
    }
}

void CAcadRegistry::RegisterLoader(int nYear, Reporter& log, FailureList& failures)
{
    if (!IsKnownRelease(nYear))
        return;
    LoaderEntry entries[3];
    const int count = LoaderEntries(nYear, entries);
    const CStringArray& productKeys = m_arrProductKeys[ReleaseIndex(nYear)];
    for (int i = 0; i < productKeys.GetSize(); ++i) {
        RegKey product;
        // Opened the way discovery reached it, one level at a time: a product
        // key's full path may be longer than one registry call accepts.
        const WinResult opened =
            product.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(productKeys[i]), kProductAccess, RegKey::kOneLevelAtATime);
        if (opened.Code() == ERROR_FILE_NOT_FOUND)
            continue;  // gone since discovery: nothing to register with
        const CString where = FailureText(nYear, productKeys[i], "");
        if (!opened) {
            NoteRegistration(where, opened, log, failures);
            continue;
        }
        for (int e = 0; e < count; ++e) {
            CString keyName;
            const WinResult written = WriteLoader(product, entries[e], m_strInstallFolder, keyName);
            NoteRegistration(where + keyName, written, log, failures);
        }
    }
}

bool CAcadRegistry::CanRegister(const ReleaseTicks& ticked, CString& strDenied) const
{
    for (int k = 0; k < kReleaseCount; ++k) {
        if (!ticked[k])
            continue;
        LoaderEntry entries[3];
        const int count = LoaderEntries(ReleaseYear(k), entries);
        const CStringArray& productKeys = m_arrProductKeys[k];
        for (int i = 0; i < productKeys.GetSize(); ++i) {
            RegKey product;
            const WinResult opened =
                product.Open(HKEY_LOCAL_MACHINE, CStringW::FromText(productKeys[i]), kProductAccess, RegKey::kOneLevelAtATime);
            // Only a refusal is a rights problem; a key that cannot be opened for
            // another reason is named among the write failures if writing it fails.
            if (!opened && opened.Code() != ERROR_ACCESS_DENIED)
                continue;
            bool ok = static_cast<bool>(opened);
            // An existing Applications key gets the new sub-key; an existing
            // registration is deleted and rewritten.
            RegKey applications;
            if (ok && applications.Open(product.Get(), L"Applications", KEY_CREATE_SUB_KEY).Code() ==
                          ERROR_ACCESS_DENIED)
                ok = false;
            for (int e = 0; ok && e < count; ++e) {
                PathBuffer name;
                FormatPath(name, entries[e].pszKeyFormat, entries[e].nKeyNumber);
                RegKey registration;
                if (registration.Open(product.Get(), CStringW::FromText(name), kRegistrationAccess).Code() == ERROR_ACCESS_DENIED)
                    ok = false;
            }
            if (!ok) {
                strDenied.Format("HKEY_LOCAL_MACHINE\\%s", productKeys[i].GetString());
                return false;
            }
        }
    }
    return true;
}
