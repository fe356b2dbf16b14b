// Places the add-on's fonts (and AutoCAD 2008's plot driver) into AutoCAD's folders.
#include "acad/AcadRegistry.h"

#include "framework/Format.h"
#include "platform/Files.h"
#include "platform/HeldFiles.h"
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
    return GetPathKind(CStringW::FromText(pszPath)) == kPathFolder;
}

bool IsFile(const CStringW& path)
{
    return GetPathKind(path) == kPathFile;
}

// Where one support file goes, for the log and the message: "AutoCAD 2008: <file>".
CStringW Where(int nYear, const CString& target)
{
    CString text;
    text.Format("AutoCAD %d: %s", nYear, target.GetString());
    return CStringW::FromText(text);
}

// Copies one support file into its AutoCAD sub-folder. An AutoCAD folder without
// that sub-folder gets nothing (it is no complete installation); a file that
// cannot be written into an existing one is a failure. With bKeepOriginal,
// AutoCAD's own file is replaced only once its backup exists as a file.
void CopySupportFile(const CStringW& payload, const CString& acadFolder, int nYear, const SupportFile& file,
                     bool bKeepOriginal, Reporter& log, FailureList& failures, const HeldFiles* pListed)
{
    const CStringW source = payload + L"\\" + CStringW::FromText(file.pszSource);
    // With the program's list only a listed file is copied, and from its held handle.
    const HANDLE held = pListed ? pListed->Find(CStringW::FromText(file.pszSource)) : nullptr;
    if (pListed && !held) {
        log.Note(CStringW::FormatText(Texts::kLogNotListedFormat, source.GetString()));
        return;
    }
    PathBuffer folder;
    if (!FormatPath(folder, file.pszFolderFormat, acadFolder.GetString()))
        return;  // never write below a cut path
    if (!IsFolder(folder))
        return;
    CString target;
    target.Format("%s\\%s", folder, file.pszTarget);
    // A sub-folder made into a link (by a user who may write an AutoCAD folder
    // that lies outside Program Files) is never written through.
    if (Files::IsLink(CStringW::FromText(folder))) {
        failures.Record(log, Texts::kLogNotWrittenFormat, Where(nYear, target), kErrorReparsePoint);
        return;
    }
    // No payload: nothing can be copied.
    WinResult written = payload.IsEmpty() ? WinResult(ERROR_PATH_NOT_FOUND) : WinResult();
    if (written && bKeepOriginal) {
        const CString backup = target + kPlotDriverBackupSuffix;
        const CStringW targetW = CStringW::FromText(target);
        const CStringW backupW = CStringW::FromText(backup);
        // The add-on's own driver, placed by an earlier install where AutoCAD had
        // none, is no original to keep.
        const bool own = Files::SameContent(targetW, source);
        WinResult kept;
        if (!Files::Exists(backupW) && IsFile(targetW) && !own)
            kept = Files::PlaceFile(targetW, backupW);
        if (!Files::Exists(backupW) && (!IsFile(targetW) || own)) {
            // AutoCAD's own driver is missing: nothing to keep, the add-on's is
            // placed all the same, and the uninstaller takes it off again.
            CString line;
            line.Format(Texts::kLogNoOwnDriverFormat, target.GetString());
            log.Note(line);
        } else if (!IsFile(backupW)) {
            // A backup that could not be made means the original must stay.
            target = backup;
            written = kept ? WinResult(ERROR_CANNOT_MAKE) : kept;
        }
    }
    if (written)
        written = held ? Files::PlaceFile(held, CStringW::FromText(target))
                       : Files::PlaceFile(source, CStringW::FromText(target));
    if (!written) {
        failures.Record(log, Texts::kLogNotWrittenFormat, Where(nYear, target), written.Code());
        return;
    }
    CString line;
    line.Format(Texts::kLogFileWrittenFormat, target.GetString());
    log.Note(line);
}

} // namespace

void CopySupportFiles(const CString& strAcadFolder, const CStringW& strPayload, int nYear, bool bPlotDriver,
                      Reporter& log, FailureList& failures, const HeldFiles* pListed)
{
    for (const SupportFile& font : kFonts)
        CopySupportFile(strPayload, strAcadFolder, nYear, font, false, log, failures, pListed);
    if (bPlotDriver)
        CopySupportFile(strPayload, strAcadFolder, nYear, kPlotDriver, true, log, failures, pListed);
}

void CAcadRegistry::InstallSupportFiles(const ReleaseTicks& ticked, const CStringW& strPayload, Reporter& log,
                                        FailureList& failures, const HeldFiles* pListed)
{
    for (int k = 0; k < kReleaseCount; ++k) {
        if (!ticked[k])
            continue;
        const CStringArray& folders = m_arrAcadFolders[k];
        for (int i = 0; i < folders.GetSize(); ++i)
            CopySupportFiles(folders[i], strPayload, ReleaseYear(k), ReleaseYear(k) == kPlotDriverRelease, log,
                             failures, pListed);
    }
}

bool CAcadRegistry::CanWriteSupportFolders(const ReleaseTicks& ticked, CString& strDenied) const
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
                if (Files::ProbeWritableFolder(CStringW::FromText(folder)) == ERROR_ACCESS_DENIED) {
                    strDenied = folder;
                    return false;
                }
            }
        }
    }
    return true;
}
