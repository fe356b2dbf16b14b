#include "deploy/InstalledFiles.h"

#include "platform/Files.h"

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// A name that would leave the install folder is never taken from the list.
bool IsPlainRelativePath(const CStringW& path)
{
    if (path.IsEmpty() || path.GetString()[0] == L'\\' || path.Find(L':') >= 0)
        return false;
    for (int i = path.Find(L'.'); i >= 0; i = path.Find(L'.', i + 1)) {
        if (i + 1 < path.GetLength() && path.GetString()[i + 1] == L'.')
            return false;
    }
    return true;
}

CStringW ListPath(const CString& strInstallFolder)
{
    return CStringW::FromText(strInstallFolder + "\\" + kInstalledFilesName);
}

// The file's text: UTF-8 after its mark, else GBK.
CStringW Decode(const CString& bytes)
{
    const int mark = static_cast<int>(sizeof kUtf8Mark - 1);
    if (bytes.Left(mark) != kUtf8Mark)
        return CStringW::FromText(bytes);
    return CStringW::FromUtf8(bytes.GetString() + mark, bytes.GetLength() - mark);
}

} // namespace

bool ReadInstalledFiles(const CString& strInstallFolder, CStringArrayW& relativePaths)
{
    CString bytes;
    if (!Files::ReadAll(ListPath(strInstallFolder), bytes))
        return false;
    const CStringW content = Decode(bytes);
    int start = 0;
    while (start < content.GetLength()) {
        int end = content.Find(L'\n', start);
        if (end < 0)
            end = content.GetLength();
        CStringW line = content.Mid(start, end - start);
        if (!line.IsEmpty() && line.GetString()[line.GetLength() - 1] == L'\r')
            line = line.Left(line.GetLength() - 1);
        if (IsPlainRelativePath(line) && !ContainsNoCase(relativePaths, line))
            relativePaths.Add(line);
        start = end + 1;
    }
    return true;
}

WinResult WriteInstalledFiles(const CString& strInstallFolder, const CStringArrayW& relativePaths)
{
    CStringW content;
    for (int i = 0; i < relativePaths.GetSize(); ++i)
        content += relativePaths[i] + L"\r\n";
    return Files::ReplaceAll(ListPath(strInstallFolder), CString(kUtf8Mark) + content.ToUtf8());
}

WinResult InstalledFilesJournal::Open(const CString& strInstallFolder)
{
    m_file.Close();
    m_listed.RemoveAll();
    // A list that is there but cannot be read (held by another program, damaged)
    // is never replaced by an empty one: its files would be unknown to the uninstaller.
    if (!ReadInstalledFiles(strInstallFolder, m_listed)) {
        const WinResult unread = WinResult::FromLastError(false);
        if (Files::Exists(ListPath(strInstallFolder)))
            return unread;
    }
    // Lines are added as UTF-8 only: a GBK list is rewritten first.
    const WinResult rewritten = WriteInstalledFiles(strInstallFolder, m_listed);
    if (!rewritten)
        return rewritten;
    return m_file.Open(ListPath(strInstallFolder));
}

WinResult InstalledFilesJournal::Record(const CStringW& strRelative)
{
    if (ContainsNoCase(m_listed, strRelative))
        return WinResult();
    const WinResult written = m_file.Append((strRelative + L"\r\n").ToUtf8());
    if (written)
        m_listed.Add(strRelative);
    return written;
}
