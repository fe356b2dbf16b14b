// The list of the files the setup placed in an install folder, kept there with
// them: the uninstaller removes exactly these and leaves everything else (the
// user's own drawings in the library, say). A re-install adds to the list, so
// the files of an earlier version are still known.
#pragma once

#include "deploy/InstallLayout.h"
#include "framework/StringW.h"
#include "platform/Files.h"
#include "platform/WinResult.h"

class CString;

// The list (kInstalledFilesName in the install folder): one path relative to
// the install folder per line, CR LF. Written as UTF-8 with a byte-order mark,
// so that a name of any language survives; a list without the mark is read as
// GBK (setups before the mark wrote their lists so, and such lists are still in
// the folders they installed).

// The list while the setup places files: each name reaches the disk (flushed)
// before its file does, so a setup killed at any point (a deployment tool's
// time-out, a power cut, a logoff) leaves no file that the uninstaller does not know.
class InstalledFilesJournal {
public:
    InstalledFilesJournal() = default;
    InstalledFilesJournal(const InstalledFilesJournal&) = delete;
    InstalledFilesJournal& operator=(const InstalledFilesJournal&) = delete;

    // Takes the folder's list as it is (either form), rewrites it whole as UTF-8
    // with the mark as one step, and keeps it open to add to.
    WinResult Open(const CString& strInstallFolder);
    // Adds the path (relative to the install folder) unless it is listed already,
    // in any case; on the disk when this returns.
    WinResult Record(const CStringW& strRelative);

private:
    AppendedFile m_file;
    CStringArrayW m_listed;
};

// Replaces the folder's list with these paths (after a removal: what is left),
// as one step: a crash leaves the old list or the new one.
WinResult WriteInstalledFiles(const CString& strInstallFolder, const CStringArrayW& relativePaths);
// The folder's list; false when it has none.
bool ReadInstalledFiles(const CString& strInstallFolder, CStringArrayW& relativePaths);
