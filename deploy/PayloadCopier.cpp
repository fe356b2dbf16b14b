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

CPayloadCopier::CPayloadCopier(CString strFolder, Reporter& reporter)
    : m_strFolder(strFolder), m_ownReporter(nullptr, nullptr), m_pReporter(&reporter)
{
    if (m_strFolder.EndsWithChar('\\'))
        m_strFolder.Delete(m_strFolder.GetLength() - 1);
}

CPayloadCopier::CPayloadCopier(CString strFolder, CWnd* pProgress)
    : m_strFolder(strFolder), m_ownReporter(nullptr, pProgress), m_pReporter(&m_ownReporter)
{
    if (m_strFolder.EndsWithChar('\\'))
        m_strFolder.Delete(m_strFolder.GetLength() - 1);
}

void CPayloadCopier::StepProgress() const
{
    m_pReporter->Step();
}

void CPayloadCopier::NoteCopy(const CString& target, const FileFinder& entry, bool bCopied)
{
    CString line;
    line.Format(bCopied ? Texts::kLogCopiedFormat : Texts::kLogNotCopiedFormat, target.GetString());
    m_pReporter->Note(line);
    if (!bCopied)
        return;
    m_nBytesCopied += entry.Size();
    m_arrPlaced.Add(target.Mid(m_strFolder.GetLength() + 1));
}

bool RemoveZoneIdentifier(CString strPath)
{
    return Files::Delete(strPath + ":Zone.Identifier");
}

int CPayloadCopier::AskAfterFailure(const CString& path) const
{
    CString text;
    text.Format(Texts::kCopyFailedFormat, path.GetString());
    // Nobody to ask (and a box that cannot be shown) means Abort: never retry forever.
    const int answer = m_pReporter->Ask(text, Texts::kCaptionSetup, MB_ABORTRETRYIGNORE, IDABORT);
    if (answer == IDABORT)
        return IDABORT;
    return answer == IDIGNORE ? IDIGNORE : IDRETRY;
}

namespace {

// A read-only file of an earlier install refuses to be overwritten: it is freed
// and the copy tried once more. Looking at every target first would cost a lookup
// of a name that is usually missing, about a tenth of copying a small file.
bool CopyFreeingTarget(const CString& source, const CString& target)
{
    if (Files::CopyOverwrite(source, target))
        return true;
    ClearReadOnly(target);
    return Files::CopyOverwrite(source, target);
}

bool IsReadOnly(const FileFinder& entry)
{
    return (entry.Attributes() & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace

int CPayloadCopier::CopyOneFile(const CString& source, const CString& target, bool bTargetFits)
{
    if (bTargetFits && CopyFreeingTarget(source, target))
        return IDOK;
    // A target that does not fit a path buffer is never copied to a cut path: it
    // counts as a failed copy, so the user sees the message and can abort.
    while (!bTargetFits || !Files::CopyOverwrite(source, target)) {
        const int answer = AskAfterFailure(target);
        if (answer != IDRETRY)
            return answer;
    }
    return IDOK;
}

bool CPayloadCopier::CopyPayload()
{
    CString payload;
    if (!LocatePayload(payload, *m_pReporter))
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
        ++count;
    }
}

bool CPayloadCopier::CopyPayloadEntry(const CString& payload, const FileFinder& entry,
                                      bool bDestinationFits)
{
    if (entry.IsDots() || entry.IsFolder() || IsSkipped(entry.Name()))
        return true;
    CString source, target;
    source.Format("%s\\%s", payload.GetString(), entry.Name());
    target.Format("%s\\%s", m_strFolder.GetString(), entry.Name());
    const bool targetFits =
        bDestinationFits && target.GetLength() < static_cast<int>(kPathBufferSize);

    // The listing tells whether the source is read-only.
    if (IsReadOnly(entry))
        ClearReadOnly(source);
    RemoveZoneIdentifier(source);
    const int result = CopyOneFile(source, target, targetFits);
    NoteCopy(target, entry, result == IDOK);
    if (result == IDABORT)
        return false;
    ClearReadOnly(target);
    return true;
}

void CPayloadCopier::CopyExtendedLibrary()
{
    CString payload;
    if (!FindPayloadFolder(payload))
        return;  // the payload copy before has said so

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
    const bool copied = fits && CopyFreeingTarget(from, to);
    NoteCopy(to, entry, copied);
    if (!copied)
        m_arrLibraryFailures.Add(to);
    ClearReadOnly(to);
}
