#include "deploy/FolderRemoval.h"

#include "deploy/PayloadCopier.h"
#include "deploy/PayloadLocation.h"
#include "platform/Files.h"

namespace {

// Deletes the files lying directly in the folder; sub-folders are left.
void DeleteFiles(const CString& folder, CStringArray& leftovers)
{
    FileFinder finder;
    for (bool more = finder.First(folder + "\\*.*"); more; more = finder.Next()) {
        if (finder.IsDots() || finder.IsFolder())
            continue;
        const CString path = folder + "\\" + finder.Name();
        ClearReadOnly(path);
        if (!Files::Delete(path))
            leftovers.Add(path);
    }
}

// Removes an emptied folder; one that still holds something stays and is listed.
void RemoveEmptied(const CString& folder, CStringArray& leftovers)
{
    if (GetPathKind(folder) == kPathFolder && !Files::RemoveFolder(folder))
        leftovers.Add(folder);
}

} // namespace

void RemoveInstallFolder(const CString& strFolder, CStringArray& leftovers)
{
    CString library;
    library.Format(kLibraryFolderFormat, strFolder.GetString());
    if (GetPathKind(library) == kPathFolder) {
        DeleteFiles(library, leftovers);
        RemoveEmptied(library, leftovers);
    }
    DeleteFiles(strFolder, leftovers);
    RemoveEmptied(strFolder, leftovers);
    // The chosen folder around it goes too, but only when nothing else is in it.
    const int cut = strFolder.ReverseFind('\\');
    if (GetPathKind(strFolder) == kPathMissing && cut > 2)
        Files::RemoveFolder(strFolder.Left(cut));
}

bool FolderHoldsMoreThan(const CString& strFolder, const char* pszOnly)
{
    FileFinder finder;
    for (bool more = finder.First(strFolder + "\\*.*"); more; more = finder.Next()) {
        if (!finder.IsDots() && CString(finder.Name()).CompareNoCase(pszOnly) != 0)
            return true;
    }
    return false;
}
