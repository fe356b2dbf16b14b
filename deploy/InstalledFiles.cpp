#include "deploy/InstalledFiles.h"

#include "platform/Files.h"

namespace {

bool ContainsNoCase(const CStringArray& list, const CString& item)
{
    for (int i = 0; i < list.GetSize(); ++i) {
        if (list[i].CompareNoCase(item) == 0)
            return true;
    }
    return false;
}

// A name that would leave the install folder is never taken from the list.
bool IsPlainRelativePath(const CString& path)
{
    return !path.IsEmpty() && path.Find(':') < 0 && path[0] != '\\' && path.Find("..") < 0;
}

} // namespace

bool ReadInstalledFiles(const CString& strInstallFolder, CStringArray& relativePaths)
{
    CString content;
    if (!Files::ReadAll(strInstallFolder + "\\" + kInstalledFilesName, content))
        return false;
    int start = 0;
    while (start < content.GetLength()) {
        int end = content.Find('\n', start);
        if (end < 0)
            end = content.GetLength();
        CString line = content.Mid(start, end - start);
        if (line.EndsWithChar('\r'))
            line.Delete(line.GetLength() - 1);
        if (IsPlainRelativePath(line) && !ContainsNoCase(relativePaths, line))
            relativePaths.Add(line);
        start = end + 1;
    }
    return true;
}

WinResult AddInstalledFiles(const CString& strInstallFolder, const CStringArray& relativePaths)
{
    CStringArray all;
    ReadInstalledFiles(strInstallFolder, all);
    for (int i = 0; i < relativePaths.GetSize(); ++i) {
        if (!ContainsNoCase(all, relativePaths[i]))
            all.Add(relativePaths[i]);
    }
    return WriteInstalledFiles(strInstallFolder, all);
}

WinResult WriteInstalledFiles(const CString& strInstallFolder, const CStringArray& relativePaths)
{
    CString content;
    for (int i = 0; i < relativePaths.GetSize(); ++i)
        content += relativePaths[i] + "\r\n";
    return Files::WriteAll(strInstallFolder + "\\" + kInstalledFilesName, content);
}
