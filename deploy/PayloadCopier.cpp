#include "deploy/PayloadCopier.h"

#include <windows.h>

#include "deploy/InstalledFiles.h"
#include "deploy/InstallLayout.h"
#include "deploy/UninstallEntry.h"
#include "framework/Format.h"
#include "platform/Files.h"
#include "platform/HeldFiles.h"
#include "res/Texts.h"

namespace {

// Files of the payload that are not copied into the install folder: the setup
// program itself and the two fonts, which go into AutoCAD's font folders.
const char* const kSkipList[] = {"SetUp.EXE", "Trabex_EN.shx", "Trabex_HZ.shx"};

bool IsSkipped(const CStringW& name)
{
    for (const char* skip : kSkipList) {
        if (name.EqualsNoCase(CStringW::FromText(skip)))
            return true;
    }
    return false;
}

// The library folder below a folder.
CStringW LibraryFolder(const CStringW& folder)
{
    return CStringW::FormatText(kLibraryFolderFormat, folder.GetString());
}

// Calls visit(entry) for every entry of the folder's listing, "." and ".."
// included; the number of entries, or -1 when the listing cannot be opened.
template <typename Visit>
int ForEachEntry(const CStringW& folder, Visit visit)
{
    FileFinder finder;
    if (!finder.First(folder + L"\\*.*"))
        return -1;
    int count = 0;
    do {
        visit(finder);
        ++count;
    } while (finder.Next());
    return count;
}

} // namespace

int LongestInstalledPath(const CStringW& strPayload)
{
    // Walks the same listings as the copies do.
    auto longest = [](const CStringW& folder, int prefix, bool skipList) {
        int best = prefix;
        ForEachEntry(folder, [&](const FileFinder& entry) {
            if (entry.IsDots() || entry.IsFolder() || (skipList && IsSkipped(entry.NameW())))
                return;
            const int len = prefix + 1 + entry.NameW().GetLength();
            if (len > best)
                best = len;
        });
        return best;
    };
    const int payloadLongest = longest(strPayload, 0, true);
    const int libraryLongest = longest(LibraryFolder(strPayload), LibraryFolder(CStringW()).GetLength(), false);
    return payloadLongest > libraryLongest ? payloadLongest : libraryLongest;
}

int CountCopySteps(const CStringW& strPayload)
{
    const int payload = ForEachEntry(strPayload, [](const FileFinder&) {});
    const int library = ForEachEntry(LibraryFolder(strPayload), [](const FileFinder&) {});
    // Each copy steps once per entry and once more when it finds the listing done.
    return (payload > 0 ? payload + 1 : 1) + (library > 0 ? library + 1 : 0);
}

CPayloadCopier::CPayloadCopier(CString strFolder, const CStringW& strPayload, Reporter& reporter)
    : m_strFolder(strFolder), m_strPayload(strPayload), m_reporter(reporter)
{
    StripTrailingBackslash(m_strFolder);
    // Paths below the folder are never cut: one that does not fit a path buffer
    // is never created or copied to.
    PathBuffer destination;
    m_bFolderFits = FormatPath(destination, "%s", m_strFolder.GetString());
    m_strFolderW = CStringW::FromText(m_strFolder);
}

void CPayloadCopier::StepProgress() const
{
    m_reporter.Step();
}

void CPayloadCopier::NoteCopy(const CStringW& target, const FileFinder& entry, DWORD dwError)
{
    if (dwError != ERROR_SUCCESS) {
        m_reporter.Note(FailureLine(Texts::kLogNotCopiedFormat, target, dwError));
        return;
    }
    m_reporter.Note(CStringW::FormatText(Texts::kLogCopiedFormat, target.GetString()));
    m_result.nBytes += entry.Size();
}

bool RemoveZoneIdentifier(const CStringW& strPath)
{
    return static_cast<bool>(Files::Delete(strPath + L":Zone.Identifier"));
}

int CPayloadCopier::AskAfterFailure(const CStringW& path) const
{
    // Nobody to ask (and a box that cannot be shown) means Abort: never retry forever.
    const int answer = m_reporter.Ask(CStringW::FormatText(Texts::kCopyFailedFormat, path.GetString()),
                                      Texts::kCaptionSetup, MB_ABORTRETRYIGNORE, IDABORT);
    if (answer == IDABORT)
        return IDABORT;
    return answer == IDIGNORE ? IDIGNORE : IDRETRY;
}


CStringW CPayloadCopier::Relative(const CStringW& target) const
{
    return target.Mid(m_strFolderW.GetLength() + 1, target.GetLength());
}

bool CPayloadCopier::PassOverUnlisted(const CStringW& source, const CStringW& target) const
{
    if (!m_pListed || m_pListed->Find(Relative(target)))
        return false;
    m_reporter.Note(CStringW::FormatText(Texts::kLogNotListedFormat, source.GetString()));
    return true;
}

WinResult CPayloadCopier::Place(const CStringW& source, const CStringW& target)
{
    // A target that does not fit a path is never copied to a cut one.
    if (!m_bFolderFits)
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    if (m_pJournal) {
        const WinResult listed = m_pJournal->Record(Relative(target));
        if (!listed)
            return listed;
    }
    // The bytes that were checked, through the handle held since.
    if (m_pListed)
        return Files::PlaceFile(m_pListed->Find(Relative(target)), target);
    return Files::PlaceFile(source, target);
}

int CPayloadCopier::CopyOneFile(const CStringW& source, const CStringW& target, DWORD* pError)
{
    // A file that cannot be placed counts as a failed copy, so the user sees the
    // message and can abort.
    WinResult copied = Place(source, target);
    while (!copied) {
        *pError = copied.Code();
        const int answer = AskAfterFailure(target);
        if (answer != IDRETRY)
            return answer;
        copied = Place(source, target);
    }
    *pError = ERROR_SUCCESS;
    return IDOK;
}

bool CPayloadCopier::CopyPayload()
{
    if (m_strPayload.IsEmpty()) {
        m_reporter.Tell(Texts::kPayloadMissing, Texts::kCaptionSetup);
        return false;
    }
    if (m_bFolderFits)
        Files::CreateFolder(m_strFolderW);

    // A listing that cannot be opened (or even asked for) is reported like a
    // failed copy, never taken for an empty payload.
    const CStringW pattern = m_strPayload + L"\\*.*";
    FileFinder finder;
    while (!finder.First(pattern)) {
        const int answer = AskAfterFailure(pattern);
        if (answer == IDABORT)
            return false;
        if (answer == IDIGNORE)
            return true;
    }

    // The uninstaller first: from then on, whatever stops the setup, what it
    // placed can be taken off again.
    FileFinder uninstaller;
    const CStringW uninstallerName = CStringW::FromText(kUninstallerName);
    if (uninstaller.First(m_strPayload + L"\\" + uninstallerName) && !CopyPayloadEntry(uninstaller))
        return false;

    for (int count = 0;;) {
        StepProgress();
        if (count > 0 && !finder.Next())
            return true;
        if (!finder.NameW().EqualsNoCase(uninstallerName) && !CopyPayloadEntry(finder))
            return false;
        ++count;
    }
}

bool CPayloadCopier::CopyPayloadEntry(const FileFinder& entry)
{
    if (entry.IsDots() || entry.IsFolder() || IsSkipped(entry.NameW()))
        return true;
    const CStringW source = m_strPayload + L"\\" + entry.NameW();
    const CStringW target = m_strFolderW + L"\\" + entry.NameW();
    if (PassOverUnlisted(source, target))
        return true;
    DWORD error = ERROR_SUCCESS;
    const int result = CopyOneFile(source, target, &error);
    NoteCopy(target, entry, error);
    // Neither the download's read-only bit nor its download mark reaches the copy:
    // Files::PlaceFile, the copy's one way, makes a new file of the bytes alone.
    return result != IDABORT;
}

void CPayloadCopier::CopyExtendedLibrary()
{
    if (m_strPayload.IsEmpty() || !m_bFolderFits)
        return;  // the payload copy before has said so; never create or fill a cut path
    const CStringW source = LibraryFolder(m_strPayload);
    const CStringW destination = LibraryFolder(m_strFolderW);
    Files::CreateFolder(destination);
    // A library made into a link (by a user, while it was open to users) would
    // have the copy write wherever it points: nothing is copied into it.
    if (Files::IsLink(destination)) {
        m_result.libraryFailures.Record(m_reporter, Texts::kLogNotCopiedFormat, destination, kErrorReparsePoint);
        return;
    }

    FileFinder finder;
    if (!finder.First(source + L"\\*.*"))
        return;

    for (int count = 0;;) {
        StepProgress();
        if (count > 0 && !finder.Next())
            return;
        CopyLibraryEntry(source, destination, finder);
        ++count;
    }
}

void CPayloadCopier::CopyLibraryEntry(const CStringW& source, const CStringW& destination, const FileFinder& entry)
{
    if (entry.IsDots() || entry.IsFolder())
        return;
    const CStringW from = source + L"\\" + entry.NameW();
    const CStringW to = destination + L"\\" + entry.NameW();
    if (PassOverUnlisted(from, to))
        return;
    // No question: the add-on loads without its library. A file that could not be
    // copied is named with the install's write failures instead.
    const WinResult copied = Place(from, to);
    NoteCopy(to, entry, copied.Code());
    if (!copied)
        m_result.libraryFailures.Add(to, copied.Code());
}
