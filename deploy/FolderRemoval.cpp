#include "deploy/FolderRemoval.h"

#include "deploy/InstallLayout.h"
#include "deploy/InstalledFiles.h"
#include "deploy/PayloadCopier.h"
#include "platform/Files.h"

namespace {

bool AnyInside(const FailureList& paths, const CStringW& folder)
{
    for (int i = 0; i < paths.GetSize(); ++i) {
        if (Files::LiesInside(paths[i].strWhat, folder))
            return true;
    }
    return false;
}

// Removes an emptied folder. One that still holds something stays: listed as a
// leftover when a file the setup placed is left in it, else kept as the user's.
void RemoveEmptied(const CStringW& folder, const char* pszKeep, FilesLeft& left)
{
    if (GetPathKind(folder) != kPathFolder)
        return;
    if (!FolderHoldsMoreThan(folder, pszKeep)) {
        if (pszKeep)
            return;
        const WinResult removed = Files::RemoveFolder(folder);
        if (!removed)
            left.leftovers.Add(folder, removed.Code());
        return;
    }
    if (AnyInside(left.leftovers, folder))
        left.leftovers.Add(folder, ERROR_DIR_NOT_EMPTY);
    else
        left.kept.Add(folder);
}

} // namespace

void RemoveInstallFolder(const CString& strFolder, FilesLeft& left, const char* pszUninstaller,
                         bool bDeferUninstaller, CStringArrayW* pRemoved)
{
    CStringArrayW listed;
    if (!ReadInstalledFiles(strFolder, listed)) {
        left.bNoList = true;  // nothing here is known to be the setup's
        left.bUninstallerKept = true;
        return;
    }
    const CStringW folder = CStringW::FromText(strFolder);
    const CStringW uninstaller = CStringW::FromText(pszUninstaller);
    CStringArrayW stillThere;
    auto remove = [&](const CStringW& relative) {
        const CStringW path = folder + L"\\" + relative;
        // What a killed setup left beside the listed file is the listed file's too.
        for (const CStringW& beside : {Files::PlacingName(relative), Files::RetiredName(relative)}) {
            if (GetPathKind(folder + L"\\" + beside) == kPathFile)
                Files::DeleteInside(folder, beside);
        }
        if (GetPathKind(path) != kPathFile)
            return;  // gone already (or a folder of the user's by that name)
        // Never through a link: a listed path whose folder is now a junction to
        // C:\Windows would otherwise delete a file of the system.
        const WinResult deleted = Files::DeleteInside(folder, relative);
        if (deleted) {
            if (pRemoved)
                pRemoved->Add(path);
        } else {
            left.leftovers.Add(path, deleted.Code());
            stillThere.Add(relative);
        }
    };
    // A library folder that is now a link (junction or symbolic link) is neither
    // entered nor deleted: what lies behind it is not ours to touch.
    const CStringW library = CStringW::FormatText(kLibraryFolderFormat, folder.GetString());
    const bool libraryIsLink = Files::IsLink(library);
    if (libraryIsLink)
        left.leftovers.Add(library, kErrorReparsePoint);
    bool uninstallerListed = false;
    for (int i = 0; i < listed.GetSize(); ++i) {
        if (listed[i].EqualsNoCase(uninstaller))
            uninstallerListed = true;
        else if (libraryIsLink && Files::LiesInside(folder + L"\\" + listed[i], library))
            stillThere.Add(listed[i]);
        else
            remove(listed[i]);
    }
    // Whoever must try again needs the uninstaller (Apps & Features points to it).
    left.bUninstallerKept = !left.leftovers.IsEmpty();
    if (uninstallerListed) {
        if (left.bUninstallerKept)
            stillThere.Add(uninstaller);
        else if (!bDeferUninstaller)
            remove(uninstaller);
    }
    // The list keeps what is still there, so that a later run still knows it.
    if (stillThere.IsEmpty())
        Files::Delete(folder + L"\\" + CStringW::FromText(kInstalledFilesName));
    else
        WriteInstalledFiles(strFolder, stillThere);

    if (!libraryIsLink)
        RemoveEmptied(library, nullptr, left);
    if (left.bUninstallerKept) {
        left.leftovers.Add(folder, ERROR_DIR_NOT_EMPTY);  // it holds the uninstaller and what is left
        return;
    }
    RemoveEmptied(folder, bDeferUninstaller ? pszUninstaller : nullptr, left);
    const CStringW chosen = folder.Left(folder.ReverseFind(L'\\'));
    if (Files::IsLink(chosen))
        left.kept.Add(chosen);  // a link the user chose: it stays, whatever it holds
    if (!bDeferUninstaller)
        RemoveEmptyInstallFolder(strFolder);
}

bool RemoveEmptyInstallFolder(const CString& strFolder)
{
    const CStringW folder = CStringW::FromText(strFolder);
    if (GetPathKind(folder) == kPathFolder)
        Files::RemoveFolder(folder);
    if (GetPathKind(folder) != kPathMissing)
        return false;
    // The chosen folder around it goes too, but only when nothing else is in it,
    // and never when it is a link.
    const int cut = strFolder.ReverseFind('\\');
    const CStringW chosen = CStringW::FromText(strFolder.Left(cut));
    if (cut > 2 && !Files::IsLink(chosen))
        Files::RemoveFolder(chosen);
    return true;
}

bool FolderHoldsMoreThan(const CStringW& strFolder, const char* pszOnly)
{
    const CStringW only = CStringW::FromText(pszOnly);
    FileFinder finder;
    for (bool more = finder.First(strFolder + L"\\*.*"); more; more = finder.Next()) {
        if (!finder.IsDots() && (!pszOnly || !finder.NameW().EqualsNoCase(only)))
            return true;
    }
    return false;
}
