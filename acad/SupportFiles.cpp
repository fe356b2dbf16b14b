// Places the add-on's fonts (and AutoCAD 2008's plot driver) into AutoCAD's folders.
#include "acad/AcadRegistry.h"

#include "deploy/PayloadLocation.h"
#include "framework/Format.h"
#include "platform/Files.h"
#include "res/Texts.h"

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
const SupportFile kPlotDriver = {kPlotDriverSource, "%s\\Drv", kPlotDriverFile};

bool IsFolder(const char* pszPath)
{
    return GetPathKind(pszPath) == kPathFolder;
}

bool IsFile(const char* pszPath)
{
    return GetPathKind(pszPath) == kPathFile;
}

// Copies one support file into its AutoCAD sub-folder. An AutoCAD folder without
// that sub-folder gets nothing (it is no complete installation); a file that
// cannot be written into an existing one is a failure. With bKeepOriginal,
// AutoCAD's own file is replaced only once its backup exists as a file.
void CopySupportFile(const CString* pPayload, const CString& acadFolder, const SupportFile& file,
                     bool bKeepOriginal, CStringArray* pFailures, CStringArray* pWritten)
{
    PathBuffer folder;
    if (!FormatPath(folder, file.pszFolderFormat, acadFolder.GetString()))
        return;  // never write below a cut path
    if (!IsFolder(folder))
        return;
    CString target;
    target.Format("%s\\%s", folder, file.pszTarget);
    bool written = pPayload != nullptr;  // no payload: nothing can be copied
    if (written && bKeepOriginal) {
        const CString backup = target + kPlotDriverBackupSuffix;
        if (!Files::Exists(backup) && IsFile(target))
            Files::CopyOverwrite(target, backup);
        if (!IsFile(backup)) {
            // No original to keep means nothing to replace; a backup that could
            // not be made means the original must stay.
            if (!IsFile(target) && !Files::Exists(backup))
                return;
            target = backup;
            written = false;
        }
    }
    if (written) {
        CString source;
        source.Format("%s\\%s", pPayload->GetString(), file.pszSource);
        written = Files::CopyOverwrite(source, target);
    }
    if (!written && pFailures)
        pFailures->Add(target);
    if (written && pWritten)
        pWritten->Add(target);
}

} // namespace

void CopySupportFiles(CString strAcadFolder, bool bPlotDriver, CStringArray* pFailures,
                      CStringArray* pWritten)
{
    // Located before by the install sequence; if it has gone since, nothing is copied.
    CString payload;
    const CString* pPayload = FindPayloadFolder(payload) ? &payload : nullptr;
    for (const SupportFile& font : kFonts)
        CopySupportFile(pPayload, strAcadFolder, font, false, pFailures, pWritten);
    if (bPlotDriver)
        CopySupportFile(pPayload, strAcadFolder, kPlotDriver, true, pFailures, pWritten);
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
        for (int i = 0; i < folders.GetSize(); ++i) {
            CStringArray failures, written;
            CopySupportFiles(folders[i], ReleaseYear(k) == kPlotDriverRelease, &failures, &written);
            for (int f = 0; f < failures.GetSize(); ++f) {
                CString text, line;
                text.Format("AutoCAD %d: %s", ReleaseYear(k), failures[f].GetString());
                m_arrWriteFailures.Add(text);
                line.Format(Texts::kLogNotWrittenFormat, text.GetString());
                m_arrInstallLog.Add(line);
            }
            for (int w = 0; w < written.GetSize(); ++w) {
                CString line;
                line.Format(Texts::kLogFileWrittenFormat, written[w].GetString());
                m_arrInstallLog.Add(line);
            }
        }
    }
}

bool CAcadRegistry::CanWriteSupportFolders(const BOOL (&ticked)[kReleaseCount], CString& strDenied) const
{
    for (int k = 0; k < kReleaseCount; ++k) {
        if (!ticked[k])
            continue;
        const CStringArray& folders = m_arrAcadFolders[k];
        for (int i = 0; i < folders.GetSize(); ++i) {
            const char* formats[] = {kFonts[0].pszFolderFormat,
                                     ReleaseYear(k) == kPlotDriverRelease ? kPlotDriver.pszFolderFormat : nullptr};
            for (const char* format : formats) {
                PathBuffer folder;
                if (!format || !FormatPath(folder, format, folders[i].GetString()) || !IsFolder(folder))
                    continue;  // no such folder: nothing is written there
                if (Files::ProbeWritableFolder(folder) == ERROR_ACCESS_DENIED) {
                    strDenied = folder;
                    return false;
                }
            }
        }
    }
    return true;
}
