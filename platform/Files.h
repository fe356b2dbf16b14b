// The one way the program reaches files and folders: wide paths in, wide paths
// out, through the wide functions of Windows. A path Windows hands over (the
// program's own folder, the temporary folder, a listing) never loses a
// character; a caller holding one of the program's own texts (GBK) converts it
// (CStringW::FromText) before it comes here.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/Handle.h"
#include "platform/WinResult.h"

// A folder listing (FindFirstFileW / FindNextFileW), closed when destroyed.
class FileFinder {
public:
    FileFinder() = default;
    ~FileFinder() { Close(); }
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;

    // Opens the listing of a path or pattern; the first entry is then current.
    // A pattern that is not shorter than MAX_PATH is refused, as Windows refuses it.
    bool First(const CStringW& strPattern);
    // Moves to the next entry; false when there is none.
    bool Next();
    void Close();

    // The entry's name as Windows gives it.
    CStringW NameW() const { return CStringW(m_data.cFileName); }
    DWORD Attributes() const { return m_data.dwFileAttributes; }
    bool IsFolder() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsDots() const;
    unsigned long long Size() const
    {
        return (static_cast<unsigned long long>(m_data.nFileSizeHigh) << 32) | m_data.nFileSizeLow;
    }

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_data = {};
};

// A file opened to add to its end, each addition on the disk before it returns
// (a record that must survive a crash at any moment).
class AppendedFile {
public:
    AppendedFile() = default;
    AppendedFile(const AppendedFile&) = delete;
    AppendedFile& operator=(const AppendedFile&) = delete;
    // Opens an existing file; others may read it meanwhile.
    WinResult Open(const CStringW& strPath);
    void Close() { m_file.Close(); }
    // Writes the bytes at the end, through to the disk (FILE_FLAG_WRITE_THROUGH).
    WinResult Append(const CString& strBytes);

private:
    ScopedHandle m_file;
};

namespace Files {

// Full path of the running program (GetModuleFileNameW), every character kept.
CStringW ModulePathW();
// Tests place "the program" in a folder of their own; empty restores the real path.
void SetModulePathForTesting(const CStringW& strPath);

// INVALID_FILE_ATTRIBUTES when the path does not exist.
DWORD GetAttributes(const CStringW& strPath);
WinResult SetAttributes(const CStringW& strPath, DWORD dwAttributes);
// Places a copy of source at target without ever writing through target's
// name. A name that holds nothing gets the file created new there, opened as
// itself (a link put there meanwhile, even one to nothing, makes that fail, and
// the next way replaces it). Otherwise the bytes go to a new file beside it
// (PlacingName), reach the disk, and the new file is moved over the old one in
// one step (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), so that a
// power cut leaves one of the two whole. A link at target is replaced, not
// followed; a program that holds the old file keeps the old file; a kill leaves
// the old file whole, or the new one (only part of it where the name held
// nothing: the journal of placed files knows it, and the next run replaces it),
// and perhaps the placing copy, which the next run or the uninstaller removes.
// A read-only old file is replaced too. The copy gets the source's time of last
// change, and no attribute (read-only included) or stream of it.
WinResult PlaceFile(const CStringW& strSource, const CStringW& strTarget);
// The same with the bytes read through a file held open (from its start), so
// that what is placed is what was checked through that handle.
WinResult PlaceFile(HANDLE hSource, const CStringW& strTarget);
// The names PlaceFile uses beside the target: the new file before its move
// ("<target>.trabex-new") and an old file held open while it moves aside
// ("<target>.trabex-old"). A kill may leave either: they are the target's.
CStringW PlacingName(const CStringW& strTarget);
CStringW RetiredName(const CStringW& strTarget);
// CopyFileW with bFailIfExists FALSE: an existing target is overwritten. Paths
// not shorter than MAX_PATH are refused (ERROR_FILENAME_EXCED_RANGE).
WinResult CopyOverwrite(const CStringW& strSource, const CStringW& strTarget);
WinResult Delete(const CStringW& strPath);
// CreateDirectoryW: one level, fails when it exists.
WinResult CreateFolder(const CStringW& strPath);
// RemoveDirectoryW: only an empty folder goes.
WinResult RemoveFolder(const CStringW& strPath);
// A file or folder exists there (as _access with mode 0).
bool Exists(const CStringW& strPath);
// True when the path is a junction or symbolic link (a reparse point).
bool IsLink(const CStringW& strPath);
// The whole file's bytes; false when it cannot be read.
bool ReadAll(const CStringW& strPath, CString& strContent);
// True when both files can be read and hold the same bytes.
bool SameContent(const CStringW& a, const CStringW& b);
// Replaces the file with the bytes as one step: written to a file beside it and
// flushed, then moved over it (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
// A crash or a power cut leaves the old file or the new one, never half of either.
WinResult ReplaceAll(const CStringW& strPath, const CString& strContent);
// Asks Windows to delete the file when it next starts (a running program's own copy).
WinResult DeleteAtRestart(const CStringW& strPath);
// The temporary folder, without a trailing backslash: GetTempPath2W where
// Windows has it (for SYSTEM a folder of its own, not C:\Windows\Temp where
// users may create files), else GetTempPathW.
CStringW TempFolderW();
// A name no one can guess: 16 hexadecimal digits from the system's random source.
CStringW UnpredictableName();
// The file opened for reading with no one allowed to write, rename or delete it
// while the handle lives (invalid when it cannot be opened).
ScopedHandle OpenAgainstWriters(const CStringW& strPath);
// The file's identity on its volume ("volume-index"), as GetFileInformationByHandle
// tells it (a link is not followed); empty when it cannot be opened.
CStringW FileIdentity(const CStringW& strPath);
// The same for a file this program holds open.
CStringW IdentityOf(HANDLE h);
// The path of what the handle holds as Windows resolved it (no "\\?\" in front);
// empty when Windows cannot tell.
CStringW FinalPathOf(HANDLE h);
// Deletes the file strRelative below strFolder, never through a link: no part of
// the path below the folder may be a junction or symbolic link (nor the file
// itself), and the file Windows opens must lie in the folder, or nothing is
// deleted (kErrorReparsePoint). A read-only bit is cleared first.
WinResult DeleteInside(const CStringW& strFolder, const CStringW& strRelative);
// Deletes the file only when it is still the one with that identity (a file put
// there since, by a newer setup say, stays: ERROR_FILE_INVALID). Through the
// handle that was checked, never following a link.
WinResult DeleteIfSameFile(const CStringW& strPath, const CStringW& strIdentity);
// The full path (GetFullPathNameW) in its long form (GetLongPathNameW): the one
// spelling of a path, whether it came as an 8.3 name, with "." or "/" in it. A
// path that does not exist keeps the long form of its existing folder.
CStringW LongFullPathW(const CStringW& strPath);
// Path identity, the one rule: both paths as Windows resolves their names (the
// long, full form: "." and "/" spellings and 8.3 names name the same folder),
// ASCII letters compared without regard to case. An empty path names nothing.
bool SameFolder(const CStringW& a, const CStringW& b);
// True when the path lies below the folder, on a backslash boundary, by that rule
// (the folder itself does not lie inside itself).
bool LiesInside(const CStringW& strPath, const CStringW& strFolder);
// The boundary rule alone, for paths Windows has resolved already (the final
// paths of open handles, through any link).
bool LiesInsideResolved(const CStringW& strPath, const CStringW& strFolder);
// The short (8.3) form of an existing path (GetShortPathNameW); empty when
// Windows has none.
CStringW ShortPathW(const CStringW& strPath);

// GetCurrentDirectoryW into a 260-character buffer; empty when it does not fit.
CStringW CurrentFolderW();
// Whether the file may be opened with the access: ERROR_SUCCESS, ERROR_ACCESS_DENIED,
// or another error. Nothing is changed.
DWORD ProbeAccess(const CStringW& strPath, DWORD dwAccess);
// Whether a file can be made in the folder: creates and deletes a uniquely named
// one. ERROR_SUCCESS, ERROR_ACCESS_DENIED, or another error.
DWORD ProbeWritableFolder(const CStringW& strFolder);

} // namespace Files

// What GetPathKind finds at a path.
enum PathKind { kPathMissing = 0, kPathFile = 1, kPathFolder = 2 };
// Whether a file, a folder or nothing is there (a listing of the path itself).
int GetPathKind(const CStringW& strPath);
// Clears FILE_ATTRIBUTE_READONLY and keeps every other attribute; nothing is reported.
void ClearReadOnly(const CStringW& strPath);

// A path from Windows in the program's code page, when GBK can hold every one of
// its characters; otherwise false, and the caller refuses it with a message that
// shows the path as it is.
bool PathToText(const CStringW& strPath, CString& strText);
