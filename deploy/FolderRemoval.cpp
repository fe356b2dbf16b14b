#include "deploy/FolderRemoval.h"

#include "deploy/InstalledFiles.h"
#include "deploy/PayloadCopier.h"
#include "deploy/PayloadLocation.h"
#include "platform/Files.h"

namespace {

bool HoldsAnythingBut(const CString& folder, const char* pszOnly)
{
    FileFinder finder;
    for (bool more = finder.First(folder + "\\*.*"); more; more = finder.Next()) {
        if (!finder.IsDots() && (!pszOnly || CString(finder.Name()).CompareNoCase(pszOnly) != 0))
            return true;
    }
    return false;
}

bool AnyInside(const CStringArray& paths, const CString& folder)
{
    const CString prefix = folder + "\\";
    for (int i = 0; i < paths.GetSize(); ++i) {
        if (paths[i].Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
            return true;
    }
    return false;
}

// Removes an emptied folder. One that still holds something stays: listed as a
// leftover when a file the setup placed is left in it, else kept as the user's.
void RemoveEmptied(const CString& folder, const char* pszKeep, FilesLeft& left)
{
    if (GetPathKind(folder) != kPathFolder)
        return;
    if (!HoldsAnythingBut(folder, pszKeep)) {
        if (!pszKeep && !Files::RemoveFolder(folder))
            left.leftovers.Add(folder);
        return;
    }
    if (AnyInside(left.leftovers, folder))
        left.leftovers.Add(folder);
    else
        left.kept.Add(folder);
}

} // namespace

void RemoveInstallFolder(const CString& strFolder, FilesLeft& left, const char* pszKeep, CStringArray* pRemoved)
{
    CStringArray listed;
    if (!ReadInstalledFiles(strFolder, listed)) {
        left.bNoList = true;  // nothing here is known to be the setup's
        return;
    }
    CStringArray stillThere;
    for (int i = 0; i < listed.GetSize(); ++i) {
        if (pszKeep && listed[i].CompareNoCase(pszKeep) == 0)
            continue;  // deleted later, with the folders
        const CString path = strFolder + "\\" + listed[i];
        if (GetPathKind(path) != kPathFile)
            continue;  // gone already (or a folder of the user's by that name)
        ClearReadOnly(path);
        if (Files::Delete(path)) {
            if (pRemoved)
                pRemoved->Add(path);
        } else {
            left.leftovers.Add(path);
            stillThere.Add(listed[i]);
        }
    }
    // The list keeps what is still there, so that a later run still knows it.
    if (stillThere.IsEmpty())
        Files::Delete(strFolder + "\\" + kInstalledFilesName);
    else
        WriteInstalledFiles(strFolder, stillThere);

    CString library;
    library.Format(kLibraryFolderFormat, strFolder.GetString());
    RemoveEmptied(library, nullptr, left);
    RemoveEmptied(strFolder, pszKeep, left);
    if (!pszKeep)
        RemoveEmptyInstallFolder(strFolder);
}

bool RemoveEmptyInstallFolder(const CString& strFolder)
{
    if (GetPathKind(strFolder) == kPathFolder)
        Files::RemoveFolder(strFolder);
    if (GetPathKind(strFolder) != kPathMissing)
        return false;
    // The chosen folder around it goes too, but only when nothing else is in it.
    const int cut = strFolder.ReverseFind('\\');
    if (cut > 2)
        Files::RemoveFolder(strFolder.Left(cut));
    return true;
}

bool FolderHoldsMoreThan(const CString& strFolder, const char* pszOnly)
{
    return HoldsAnythingBut(strFolder, pszOnly);
}
