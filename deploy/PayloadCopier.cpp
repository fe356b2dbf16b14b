#include "deploy/PayloadCopier.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "deploy/PayloadLocation.h"
#include "framework/Format.h"
#include "framework/Window.h"
#include "platform/Files.h"
#include "res/Texts.h"

namespace {

// Files of the payload that are not copied into the install folder: the setup
// program itself and the two fonts, which go into AutoCAD's font folders.
const char* const kSkipList[] = {"SetUp.EXE", "Trabex_EN.shx", "Trabex_HZ.shx"};

bool IsSkipped(const char* pszName)
{
    for (const char* skip : kSkipList) {
        if (CString(pszName).CompareNoCase(skip) == 0)
            return true;
    }
    return false;
}

} // namespace

int LongestInstalledPath(const CString& strPayload)
{
    // Walks the same listings, with the same entry caps, as the copies do.
    auto longest = [](const CString& folder, const CString& prefix, int cap, bool skipList) {
        int best = prefix.GetLength();
        FileFinder finder;
        if (!finder.First(folder + "\\*.*"))
            return best;
        for (int count = 0; count < cap; ++count) {
            if (count > 0 && !finder.Next())
                break;
            if (finder.IsDots() || finder.IsFolder() || (skipList && IsSkipped(finder.Name())))
                continue;
            const int len = prefix.GetLength() + 1 + static_cast<int>(strlen(finder.Name()));
            if (len > best)
                best = len;
        }
        return best;
    };
    CString library;
    library.Format(kLibraryFolderFormat, "");
    CString libraryFolder;
    libraryFolder.Format(kLibraryFolderFormat, strPayload.GetString());
    const int payloadLongest = longest(strPayload, CString(), kPayloadEntryCap, true);
    const int libraryLongest = longest(libraryFolder, library, kLibraryEntryCap, false);
    return payloadLongest > libraryLongest ? payloadLongest : libraryLongest;
}

CPayloadCopier::CPayloadCopier(CString strFolder, CWnd* pProgress)
    : m_strFolder(strFolder), m_pProgress(pProgress)
{
    if (m_strFolder.EndsWithChar('\\'))
        m_strFolder.Delete(m_strFolder.GetLength() - 1);
}

void CPayloadCopier::StepProgress() const
{
    if (m_pProgress && m_pProgress->GetSafeHwnd())
        m_pProgress->SendMessage(PBM_STEPIT);
}

bool RemoveZoneIdentifier(CString strPath)
{
    return Files::Delete(strPath + ":Zone.Identifier");
}

int CPayloadCopier::AskAfterFailure(const CString& path) const
{
    CString text;
    text.Format(Texts::kCopyFailedFormat, path.GetString());
    const int answer = ShowMessageBox(AfxGetMainWnd(), text, Texts::kCaptionSetup, MB_ABORTRETRYIGNORE);
    // No answer at all (the box could not be shown) must not retry forever.
    if (answer == IDABORT || answer == 0)
        return IDABORT;
    return answer == IDIGNORE ? IDIGNORE : IDRETRY;
}

bool CPayloadCopier::CopyOneFile(const CString& source, const CString& target,
                                 bool bTargetFits) const
{
    // A target that does not fit a path buffer is never copied to a cut path: it
    // counts as a failed copy, so the user sees the message and can abort.
    while (!bTargetFits || !Files::CopyOverwrite(source, target)) {
        const int answer = AskAfterFailure(target);
        if (answer == IDABORT)
            return false;
        if (answer == IDIGNORE)
            break;
    }
    return true;
}

bool CPayloadCopier::CopyPayload()
{
    CString payload;
    if (!LocatePayload(payload))
        return false;

    PathBuffer destination;
    const bool destinationFits = FormatPath(destination, "%s", m_strFolder.GetString());
    if (destinationFits)
        Files::MakeDir(destination);

    // A listing that cannot be opened (or even asked for) is reported like a
    // failed copy, never taken for an empty payload.
    PathBuffer pattern;
    const bool patternFits = FormatPath(pattern, "%s\\*.*", payload.GetString());
    FileFinder finder;
    while (!patternFits || !finder.First(pattern)) {
        const int answer = AskAfterFailure(payload + "\\*.*");
        if (answer == IDABORT)
            return false;
        if (answer == IDIGNORE)
            return true;
    }

    for (int count = 0;;) {
        StepProgress();
        if (count > 0 && !finder.Next())
            return true;
        if (!CopyPayloadEntry(payload, finder, destinationFits))
            return false;
        if (++count >= kPayloadEntryCap)
            return true;
    }
}

bool CPayloadCopier::CopyPayloadEntry(const CString& payload, const FileFinder& entry,
                                      bool bDestinationFits) const
{
    if (entry.IsDots() || entry.IsFolder() || IsSkipped(entry.Name()))
        return true;
    CString source, target;
    source.Format("%s\\%s", payload.GetString(), entry.Name());
    target.Format("%s\\%s", m_strFolder.GetString(), entry.Name());
    const bool targetFits =
        bDestinationFits && target.GetLength() < static_cast<int>(kPathBufferSize);

    ClearReadOnly(source);
    RemoveZoneIdentifier(source);
    ClearReadOnly(target);
    if (!CopyOneFile(source, target, targetFits))
        return false;
    ClearReadOnly(target);
    return true;
}

void CPayloadCopier::CopyExtendedLibrary()
{
    CString payload;
    if (!LocatePayload(payload))
        return;

    CString source;
    source.Format(kLibraryFolderFormat, payload.GetString());
    PathBuffer destination;
    if (!FormatPath(destination, kLibraryFolderFormat, m_strFolder.GetString()))
        return;  // never create or fill a cut path
    Files::MakeDir(destination);

    PathBuffer pattern;
    FileFinder finder;
    if (!FormatPath(pattern, "%s\\*.*", source.GetString()) || !finder.First(pattern))
        return;

    for (int count = 0;;) {
        StepProgress();
        if (count > 0 && !finder.Next())
            return;
        CopyLibraryEntry(source, destination, finder);
        if (++count >= kLibraryEntryCap)
            return;
    }
}

void CPayloadCopier::CopyLibraryEntry(const CString& source, const char* pszDestination,
                                      const FileFinder& entry) const
{
    if (entry.IsDots() || entry.IsFolder())
        return;
    CString from, to;
    from.Format("%s\\%s", source.GetString(), entry.Name());
    to.Format("%s\\%s", pszDestination, entry.Name());
    if (to.GetLength() >= static_cast<int>(kPathBufferSize))
        return;  // skipped quietly, like any other failed library copy
    ClearReadOnly(from);
    ClearReadOnly(to);
    Files::CopyOverwrite(from, to);
    ClearReadOnly(to);
}
