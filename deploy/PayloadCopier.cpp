#include "deploy/PayloadCopier.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "framework/Format.h"
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

namespace {

// Calls visit(entry) for every entry of the folder's listing, "." and ".."
// included; the number of entries, or -1 when the listing cannot be opened.
template <typename Visit>
int ForEachEntry(const CString& folder, Visit visit)
{
    FileFinder finder;
    if (!finder.First(folder + "\\*.*"))
        return -1;
    int count = 0;
    do {
        visit(finder);
        ++count;
    } while (finder.Next());
    return count;
}

} // namespace

int LongestInstalledPath(const CString& strPayload)
{
    // Walks the same listings as the copies do.
    auto longest = [](const CString& folder, const CString& prefix, bool skipList) {
        int best = prefix.GetLength();
        ForEachEntry(folder, [&](const FileFinder& entry) {
            if (entry.IsDots() || entry.IsFolder() || (skipList && IsSkipped(entry.Name())))
                return;
            const int len = prefix.GetLength() + 1 + static_cast<int>(strlen(entry.Name()));
            if (len > best)
                best = len;
        });
        return best;
    };
    CString library;
    library.Format(kLibraryFolderFormat, "");
    CString libraryFolder;
    libraryFolder.Format(kLibraryFolderFormat, strPayload.GetString());
    const int payloadLongest = longest(strPayload, CString(), true);
    const int libraryLongest = longest(libraryFolder, library, false);
    return payloadLongest > libraryLongest ? payloadLongest : libraryLongest;
}

int CountCopySteps(const CString& strPayload)
{
    CString libraryFolder;
    libraryFolder.Format(kLibraryFolderFormat, strPayload.GetString());
    const int payload = ForEachEntry(strPayload, [](const FileFinder&) {});
    const int library = ForEachEntry(libraryFolder, [](const FileFinder&) {});
    // Each copy steps once per entry and once more when it finds the listing done.
    return (payload > 0 ? payload + 1 : 1) + (library > 0 ? library + 1 : 0);
}

CPayloadCopier::CPayloadCopier(CString strFolder, const CString& strPayload, Reporter& reporter)
    : m_strFolder(strFolder), m_strPayload(strPayload), m_reporter(reporter)
{
    StripTrailingBackslash(m_strFolder);
}

void CPayloadCopier::StepProgress() const
{
    m_reporter.Step();
}

void CPayloadCopier::NoteCopy(const CString& target, const FileFinder& entry, DWORD dwError)
{
    if (dwError != ERROR_SUCCESS) {
        m_reporter.Note(FailureLine(Texts::kLogNotCopiedFormat, CStringW::FromText(target), dwError));
        return;
    }
    CString line;
    line.Format(Texts::kLogCopiedFormat, target.GetString());
    m_reporter.Note(line);
    m_result.nBytes += entry.Size();
    m_result.arrPlaced.Add(target.Mid(m_strFolder.GetLength() + 1));
}

bool RemoveZoneIdentifier(CString strPath)
{
    return static_cast<bool>(Files::Delete(strPath + ":Zone.Identifier"));
}

int CPayloadCopier::AskAfterFailure(const CString& path) const
{
    CString text;
    text.Format(Texts::kCopyFailedFormat, path.GetString());
    // Nobody to ask (and a box that cannot be shown) means Abort: never retry forever.
    const int answer = m_reporter.Ask(CStringW::FromText(text), Texts::kCaptionSetup, MB_ABORTRETRYIGNORE, IDABORT);
    if (answer == IDABORT)
        return IDABORT;
    return answer == IDIGNORE ? IDIGNORE : IDRETRY;
}

namespace {

// A read-only file of an earlier install refuses to be overwritten: it is freed
// and the copy tried once more. Looking at every target first would cost a lookup
// of a name that is usually missing, about a tenth of copying a small file.
WinResult CopyFreeingTarget(const CString& source, const CString& target)
{
    if (Files::CopyOverwrite(source, target))
        return WinResult();
    ClearReadOnly(target);
    return Files::CopyOverwrite(source, target);
}

bool IsReadOnly(const FileFinder& entry)
{
    return (entry.Attributes() & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace

int CPayloadCopier::CopyOneFile(const CString& source, const CString& target, bool bTargetFits, DWORD* pError)
{
    // A target that does not fit a path buffer is never copied to a cut path: it
    // counts as a failed copy, so the user sees the message and can abort.
    WinResult copied = bTargetFits ? CopyFreeingTarget(source, target) : WinResult(ERROR_FILENAME_EXCED_RANGE);
    while (!copied) {
        *pError = copied.Code();
        const int answer = AskAfterFailure(target);
        if (answer != IDRETRY)
            return answer;
        copied = bTargetFits ? Files::CopyOverwrite(source, target) : WinResult(ERROR_FILENAME_EXCED_RANGE);
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
    const CString& payload = m_strPayload;

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
        if (!CopyPayloadEntry(finder, destinationFits))
            return false;
        ++count;
    }
}

bool CPayloadCopier::CopyPayloadEntry(const FileFinder& entry, bool bDestinationFits)
{
    if (entry.IsDots() || entry.IsFolder() || IsSkipped(entry.Name()))
        return true;
    CString source, target;
    source.Format("%s\\%s", m_strPayload.GetString(), entry.Name());
    target.Format("%s\\%s", m_strFolder.GetString(), entry.Name());
    const bool targetFits =
        bDestinationFits && target.GetLength() < static_cast<int>(kPathBufferSize);

    // The listing tells whether the source is read-only.
    if (IsReadOnly(entry))
        ClearReadOnly(source);
    RemoveZoneIdentifier(source);
    DWORD error = ERROR_SUCCESS;
    const int result = CopyOneFile(source, target, targetFits, &error);
    NoteCopy(target, entry, error);
    if (result == IDABORT)
        return false;
    ClearReadOnly(target);
    return true;
}

void CPayloadCopier::CopyExtendedLibrary()
{
    if (m_strPayload.IsEmpty())
        return;  // the payload copy before has said so

    CString source;
    source.Format(kLibraryFolderFormat, m_strPayload.GetString());
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
        ++count;
    }
}

void CPayloadCopier::CopyLibraryEntry(const CString& source, const char* pszDestination,
                                      const FileFinder& entry)
{
    if (entry.IsDots() || entry.IsFolder())
        return;
    CString from, to;
    from.Format("%s\\%s", source.GetString(), entry.Name());
    to.Format("%s\\%s", pszDestination, entry.Name());
    // No question: the add-on loads without its library. A file that could not be
    // copied is named with the install's write failures instead.
    const bool fits = to.GetLength() < static_cast<int>(kPathBufferSize);
    if (fits && IsReadOnly(entry))
        ClearReadOnly(from);
    const WinResult copied = fits ? CopyFreeingTarget(from, to) : WinResult(ERROR_FILENAME_EXCED_RANGE);
    NoteCopy(to, entry, copied.Code());
    if (!copied)
        m_result.libraryFailures.Add(CStringW::FromText(to), copied.Code());
    ClearReadOnly(to);
}
