#include "deploy/FolderRemoval.h"

#include "deploy/InstalledFiles.h"
#include "deploy/PayloadCopier.h"
#include "platform/Files.h"

namespace {

bool IsInside(const CString& path, const CString& folder)
{
    const CString prefix = folder + "\\";
    return path.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

bool AnyInside(const FailureList& paths, const CString& folder)
{
    for (int i = 0; i < paths.GetSize(); ++i) {
        if (IsInside(CString::FromWide(paths[i].strWhat.GetString()), folder))
            return true;
    }
    return false;
}

void AddLeftover(FilesLeft& left, const CString& path, DWORD dwError)
{
    left.leftovers.Add(CStringW::FromText(path), dwError);
}

// Removes an emptied folder. One that still holds something stays: listed as a
// leftover when a file the setup placed is left in it, else kept as the user's.
void RemoveEmptied(const CString& folder, const char* pszKeep, FilesLeft& left)
{
    if (GetPathKind(folder) != kPathFolder)
        return;
    if (!FolderHoldsMoreThan(folder, pszKeep)) {
        if (pszKeep)
            return;
        const WinResult removed = Files::RemoveFolder(folder);
        if (!removed)
            AddLeftover(left, folder, removed.Code());
        return;
    }
    if (AnyInside(left.leftovers, folder))
        AddLeftover(left, folder, ERROR_DIR_NOT_EMPTY);
    else
        left.kept.Add(folder);
}

} // namespace

void RemoveInstallFolder(const CString& strFolder, FilesLeft& left, const char* pszUninstaller,
                         bool bDeferUninstaller, CStringArray* pRemoved)
{
    CStringArray listed;
    if (!ReadInstalledFiles(strFolder, listed)) {
        left.bNoList = true;  // nothing here is known to be the setup's
        left.bUninstallerKept = true;
        return;
    }
    CStringArray stillThere;
    auto remove = [&](const CString& relative) {
        const CString path = strFolder + "\\" + relative;
        if (GetPathKind(path) != kPathFile)
            return;  // gone already (or a folder of the user's by that name)
        ClearReadOnly(path);
        const WinResult deleted = Files::Delete(path);
        if (deleted) {
            if (pRemoved)
                pRemoved->Add(path);
        } else {
            AddLeftover(left, path, deleted.Code());
            stillThere.Add(relative);
        }
    };
    // A library folder that is now a link (junction or symbolic link) is neither
    // entered nor deleted: what lies behind it is not ours to touch.
    CString library;
    library.Format(kLibraryFolderFormat, strFolder.GetString());
    const bool libraryIsLink = Files::IsLink(library);
    if (libraryIsLink)
        AddLeftover(left, library, kErrorReparsePoint);
    bool uninstallerListed = false;
    for (int i = 0; i < listed.GetSize(); ++i) {
        if (listed[i].CompareNoCase(pszUninstaller) == 0)
            uninstallerListed = true;
        else if (libraryIsLink && IsInside(strFolder + "\\" + listed[i], library))
            stillThere.Add(listed[i]);
        else
            remove(listed[i]);
    }
    // Whoever must try again needs the uninstaller (Apps & Features points to it).
    left.bUninstallerKept = !left.leftovers.IsEmpty();
    if (uninstallerListed) {
        if (left.bUninstallerKept)
            stillThere.Add(pszUninstaller);
        else if (!bDeferUninstaller)
            remove(pszUninstaller);
    }
    // The list keeps what is still there, so that a later run still knows it.
    if (stillThere.IsEmpty())
        Files::Delete(strFolder + "\\" + kInstalledFilesName);
    else
        WriteInstalledFiles(strFolder, stillThere);

    if (!libraryIsLink)
        RemoveEmptied(library, nullptr, left);
    if (left.bUninstallerKept) {
        AddLeftover(left, strFolder, ERROR_DIR_NOT_EMPTY);  // it holds the uninstaller and what is left
        return;
    }
    RemoveEmptied(strFolder, bDeferUninstaller ? pszUninstaller : nullptr, left);
    const CString chosen = strFolder.Left(strFolder.ReverseFind('\\'));
    if (Files::IsLink(chosen))
        left.kept.Add(chosen);  // a link the user chose: it stays, whatever it holds
    if (!bDeferUninstaller)
        RemoveEmptyInstallFolder(strFolder);
}

bool RemoveEmptyInstallFolder(const CString& strFolder)
{
    if (GetPathKind(strFolder) == kPathFolder)
        Files::RemoveFolder(strFolder);
    if (GetPathKind(strFolder) != kPathMissing)
        return false;
    // The chosen folder around it goes too, but only when nothing else is in it,
    // and never when it is a link.
    const int cut = strFolder.ReverseFind('\\');
    if (cut > 2 && !Files::IsLink(strFolder.Left(cut)))
        Files::RemoveFolder(strFolder.Left(cut));
    return true;
}

bool FolderHoldsMoreThan(const CString& strFolder, const char* pszOnly)
{
    FileFinder finder;
    for (bool more = finder.First(strFolder + "\\*.*"); more; more = finder.Next()) {
        if (!finder.IsDots() && (!pszOnly || CString(finder.Name()).CompareNoCase(pszOnly) != 0))
            return true;
    }
    return false;
}
