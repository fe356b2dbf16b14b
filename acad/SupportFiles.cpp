// Places the add-on's fonts (and AutoCAD 2008's plot driver) into AutoCAD's folders.
#include "acad/AcadRegistry.h"

#include "deploy/PayloadLocation.h"
#include "framework/Format.h"
#include "platform/Files.h"

namespace {

// One support file: payload name, sub-folder of the AutoCAD folder, target name.
struct SupportFile {
    const char* pszSource;
    const char* pszFolderFormat;
    const char* pszTarget;
};
const SupportFile kFonts[] = {
    {"Trabex_EN.shx", "%s\\Fonts", "Trabex_EN.shx"},
    {"Trabex_HZ.shx", "%s\\Fonts", "Trabex_HZ.shx"},
};
const SupportFile kPlotDriver = {"Trabex.prt5", "%s\\Drv", "pdfplot9.hdi"};
// AutoCAD's own driver is kept once, before the first replacement.
const char kBackupSuffix[] = ".bak";
const int kPlotDriverRelease = 2008;

void CopySupportFile(const CString& payload, const CString& acadFolder, const SupportFile& file,
                     bool bKeepOriginal)
{
    PathBuffer folder;
    if (!FormatPath(folder, file.pszFolderFormat, acadFolder.GetString()))
        return;  // never write below a cut path
    CString source, target;
    source.Format("%s\\%s", payload.GetString(), file.pszSource);
    target.Format("%s\\%s", folder, file.pszTarget);
    if (bKeepOriginal) {
        const CString backup = target + kBackupSuffix;
        if (Files::Exists(target) && !Files::Exists(backup))
            Files::CopyOverwrite(target, backup);
    }
    Files::CopyOverwrite(source, target);
}

} // namespace

void CopySupportFiles(CString strAcadFolder, bool bPlotDriver)
{
    CString payload;
    LocatePayload(payload);  // located before by the install sequence
    for (const SupportFile& font : kFonts)
        CopySupportFile(payload, strAcadFolder, font, false);
    if (bPlotDriver)
        CopySupportFile(payload, strAcadFolder, kPlotDriver, true);
}

void CAcadRegistry::InstallSupportFiles(BOOL b2007, BOOL b2008, BOOL b2009, BOOL b2010,
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
        if (!ticked[k])
            continue;
        const CStringArray& folders = m_arrAcadFolders[k];
        for (int i = 0; i < folders.GetSize(); ++i)
            CopySupportFiles(folders[i], ReleaseYear(k) == kPlotDriverRelease);
    }
}
