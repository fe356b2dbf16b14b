// The one way the program reaches files and folders.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/Handle.h"
#include "platform/WinResult.h"

// A folder listing (FindFirstFileW / FindNextFileW, so that a name of any code
// page is found), closed when destroyed. Names come in the program's code page.
class FileFinder {
public:
    FileFinder() = default;
    ~FileFinder() { Close(); }
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;

    // Opens the listing of a path or pattern; the first entry is then current.
    bool First(const char* pszPattern);
    // Moves to the next entry; false when there is none.
    bool Next();
    void Close();

    const char* Name() const { return m_name; }
    DWORD Attributes() const { return m_data.dwFileAttributes; }
    bool IsFolder() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsDots() const;
    unsigned long long Size() const
    {
        return (static_cast<unsigned long long>(m_data.nFileSizeHigh) << 32) | m_data.nFileSizeLow;
    }

private:
    void TakeName();
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_data = {};
    CString m_name;
};

// Every file and folder path below is the program's text (GBK) and reaches
// Windows through the wide functions, converted: whatever the system's ANSI code
// page, a Chinese name stays itself.
namespace Files {

// Full path of the running program (GetModuleFileNameW with a 261-character buffer).
CString ModulePath();
// Tests place "the program" in a folder of their own; empty restores the real path.
void SetModulePathForTesting(const char* pszPath);
// INVALID_FILE_ATTRIBUTES when the path does not exist.
DWORD GetAttributes(const char* pszPath);
WinResult SetAttributes(const char* pszPath, DWORD dwAttributes);
// CopyFileW with bFailIfExists FALSE: an existing target is overwritten.
WinResult CopyOverwrite(const char* pszSource, const char* pszTarget);
WinResult Delete(const char* pszPath);
// CreateDirectoryW: one level, fails when it exists.
WinResult CreateFolder(const char* pszPath);
// One level, as _mkdir; callers do not look at the result.
void MakeDir(const char* pszPath);
// A file or folder exists there (as _access with mode 0).
bool Exists(const char* pszPath);
// GetCurrentDirectoryW into a 260-character buffer.
CString CurrentFolder();
// RemoveDirectoryW: only an empty folder goes.
WinResult RemoveFolder(const char* pszPath);
// The user's temporary folder, without a trailing backslash.
CString TempFolder();
// The full path (GetFullPathNameW) in its long form (GetLongPathNameW): the one
// spelling of a path, whether it came as an 8.3 name, with "." or "/" in it. A
// path that does not exist keeps the long form of its existing folder.
CString LongFullPath(const char* pszPath);
// The same for a path of any language.
CStringW LongFullPathW(const CStringW& strPath);
// True when the path is a junction or symbolic link (a reparse point).
bool IsLink(const char* pszPath);
// Whether the file may be opened with the access: ERROR_SUCCESS, ERROR_ACCESS_DENIED,
// or another error. Nothing is changed.
DWORD ProbeAccess(const char* pszPath, DWORD dwAccess);
// Whether a file can be made in the folder: creates and deletes a uniquely named
// one. ERROR_SUCCESS, ERROR_ACCESS_DENIED, or another error.
DWORD ProbeWritableFolder(const char* pszFolder);
// The whole file's bytes; false when it cannot be read.
bool ReadAll(const char* pszPath, CString& strContent);
// Replaces the file with the bytes; false when it cannot be written whole.
WinResult WriteAll(const char* pszPath, const CString& strContent);
// Asks Windows to delete the file when it next starts (a running program's own copy).
WinResult DeleteAtRestart(const char* pszPath);

} // namespace Files

// What GetPathKind finds at a path.
enum PathKind { kPathMissing = 0, kPathFile = 1, kPathFolder = 2 };
// Whether a file, a folder or nothing is there (a listing of the path itself).
int GetPathKind(CString strPath);
// Clears FILE_ATTRIBUTE_READONLY and keeps every other attribute; nothing is reported.
void ClearReadOnly(CString strPath);
