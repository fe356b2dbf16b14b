#include "platform/Files.h"

#include <cstdlib>
#include <cstring>

#include <ntsecapi.h>

namespace {

// Windows' own limit for a path without the \\?\ prefix, NUL included.
constexpr int kMaxPath = MAX_PATH;

bool FitsPath(const CStringW& path)
{
    return path.GetLength() < kMaxPath;
}

} // namespace

bool FileFinder::First(const CStringW& strPattern)
{
    Close();
    // A pattern longer than a path is refused, as Windows refuses it.
    if (!FitsPath(strPattern))
        return false;
    m_hFind = FindFirstFileW(strPattern.GetString(), &m_data);
    return m_hFind != INVALID_HANDLE_VALUE;
}

bool FileFinder::Next()
{
    return m_hFind != INVALID_HANDLE_VALUE && FindNextFileW(m_hFind, &m_data) != FALSE;
}

void FileFinder::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
}

bool FileFinder::IsDots() const
{
    return std::wcscmp(m_data.cFileName, L".") == 0 || std::wcscmp(m_data.cFileName, L"..") == 0;
}

WinResult AppendedFile::Open(const CStringW& strPath)
{
    m_file.Reset(CreateFileW(strPath.GetString(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    return WinResult::FromLastError(m_file.IsValid());
}

WinResult AppendedFile::Append(const CString& strBytes)
{
    if (!m_file.IsValid())
        return WinResult(ERROR_INVALID_HANDLE);
    DWORD written = 0;
    const DWORD n = static_cast<DWORD>(strBytes.GetLength());
    // The handle writes through: the bytes are on the disk when WriteFile returns,
    // without flushing the whole file (and its metadata) every time.
    if (!WriteFile(m_file.Get(), strBytes.GetString(), n, &written, nullptr))
        return WinResult::FromLastError(false);
    return written == n ? WinResult() : WinResult(ERROR_WRITE_FAULT);
}

bool PathToText(const CStringW& strPath, CString& strText)
{
    return CString::FromWideExact(strPath.GetString(), strPath.GetLength(), strText);
}

namespace Files {

namespace {
CStringW g_modulePathForTesting;

template <typename Call>
CStringW AskPathW(Call call)
{
    // Asked once with room for the usual path, again only when that was short: a
    // path function may walk the whole path on disk each time it is called.
    DWORD room = MAX_PATH + 1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        wchar_t* p = static_cast<wchar_t*>(calloc(room, sizeof(wchar_t)));
        if (!p)
            return CStringW();
        const DWORD m = call(p, room);
        const CStringW result = m > 0 && m < room ? CStringW(p, static_cast<int>(m)) : CStringW();
        free(p);
        if (m < room)  // the path, or 0 for a failure
            return result;
        room = m + 1;  // the length it asked for (its terminator included), and one more
    }
    return CStringW();
}

} // namespace

void SetModulePathForTesting(const CStringW& strPath)
{
    g_modulePathForTesting = strPath;
}

CStringW ModulePathW()
{
    if (!g_modulePathForTesting.IsEmpty())
        return g_modulePathForTesting;
    // The buffer grows until the whole path fits: a folder of any length.
    for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
        wchar_t* p = static_cast<wchar_t*>(calloc(size, sizeof(wchar_t)));
        if (!p)
            return CStringW();
        const DWORD n = GetModuleFileNameW(nullptr, p, size);
        const CStringW path = n > 0 && n < size ? CStringW(p, static_cast<int>(n)) : CStringW();
        free(p);
        if (n == 0 || n < size)
            return path;
    }
    return CStringW();
}

DWORD GetAttributes(const CStringW& strPath)
{
    return GetFileAttributesW(strPath.GetString());
}

WinResult SetAttributes(const CStringW& strPath, DWORD dwAttributes)
{
    return WinResult::FromLastError(SetFileAttributesW(strPath.GetString(), dwAttributes) != FALSE);
}

CStringW PlacingName(const CStringW& strTarget)
{
    return strTarget + L".trabex-new";
}

CStringW RetiredName(const CStringW& strTarget)
{
    return strTarget + L".trabex-old";
}

namespace {

// Blocks in which a held file is copied: small enough to stay in the
// processor's cache from the read to the write (with 1 MB blocks the copy took
// a third longer than CopyFileExW, with these as long), large enough that the
// calls cost little beside the bytes.
constexpr DWORD kCopyBlockBytes = 64 * 1024;

// A name of ours beside a target (a placing copy a killed run left, an old file
// moved aside): its file goes. True when nothing is left under it.
bool ClearOurName(const CStringW& name)
{
    SetFileAttributesW(name.GetString(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(name.GetString()) || GetFileAttributesW(name.GetString()) == INVALID_FILE_ATTRIBUTES;
}

// An old file that others hold open (allowing it to move) cannot be replaced in
// one step: it moves aside first, the new file takes the name, and the old one
// goes now or, while it is held, when Windows next starts.
WinResult ReplaceHeld(const CStringW& placing, const CStringW& target)
{
    const CStringW retired = RetiredName(target);
    if (!ClearOurName(retired) || !MoveFileExW(target.GetString(), retired.GetString(), MOVEFILE_WRITE_THROUGH))
        return WinResult::FromLastError(false);
    if (!MoveFileExW(placing.GetString(), target.GetString(), MOVEFILE_WRITE_THROUGH)) {
        const WinResult failed = WinResult::FromLastError(false);
        MoveFileExW(retired.GetString(), target.GetString(), MOVEFILE_WRITE_THROUGH);  // the old file back
        return failed;
    }
    if (!ClearOurName(retired))
        MoveFileExW(retired.GetString(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return WinResult();
}

// The placing copy, on the disk already, takes the target's name in one step;
// when it cannot, it goes and the target stays as it was.
WinResult MoveIntoPlace(const CStringW& placing, const CStringW& target)
{
    const DWORD move = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    WinResult result;
    if (!MoveFileExW(placing.GetString(), target.GetString(), move)) {
        result = WinResult::FromLastError(false);
        // A read-only file of an earlier install refuses to be replaced: freed, tried once more.
        const DWORD attributes = GetFileAttributesW(target.GetString());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
            SetFileAttributesW(target.GetString(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
            result = WinResult::FromLastError(MoveFileExW(placing.GetString(), target.GetString(), move) != FALSE);
        if (!result && GetFileAttributesW(target.GetString()) != INVALID_FILE_ATTRIBUTES)
            result = ReplaceHeld(placing, target);
    }
    if (!result)
        ClearOurName(placing);
    return result;
}

// Whether something is at the target (an old file that must stay whole until
// the new one has taken its name, or a link): then the new file is placed
// beside it, flushed and moved. A name nothing holds loses nothing whole: the
// file is created there directly, sparing the move and the flush (most of a
// small file's cost).
bool HoldsFile(const CStringW& target)
{
    return GetFileAttributesW(target.GetString()) != INVALID_FILE_ATTRIBUTES;
}

// Everything the source holds, read through its handle from the start, written
// to the new file, with the source's time of last change.
WinResult CopyHeld(HANDLE hSource, HANDLE hTarget)
{
    LARGE_INTEGER size = {};
    const LARGE_INTEGER start = {};
    if (!GetFileSizeEx(hSource, &size) || !SetFilePointerEx(hSource, start, nullptr, FILE_BEGIN))
        return WinResult::FromLastError(false);
    const DWORD blockBytes = size.QuadPart < kCopyBlockBytes ? static_cast<DWORD>(size.QuadPart) + 1 : kCopyBlockBytes;
    char* block = static_cast<char*>(malloc(blockBytes));
    if (!block)
        return WinResult(ERROR_NOT_ENOUGH_MEMORY);
    WinResult result;
    for (;;) {
        DWORD read = 0, written = 0;
        result = WinResult::FromLastError(ReadFile(hSource, block, blockBytes, &read, nullptr) != FALSE);
        if (!result || read == 0)
            break;
        result = WinResult::FromLastError(WriteFile(hTarget, block, read, &written, nullptr) != FALSE);
        if (result && written != read)
            result = WinResult(ERROR_WRITE_FAULT);
        if (!result)
            break;
    }
    free(block);
    FILETIME changed = {};
    if (result && GetFileTime(hSource, nullptr, nullptr, &changed))
        SetFileTime(hTarget, nullptr, nullptr, &changed);
    return result;
}

// The target created new (never through a link, dangling or not: the link
// itself would be opened, and it exists), filled from the source's handle and,
// with bFlush, on the disk before it is closed. On failure what this call wrote
// goes again, through its own handle.
WinResult CreateNewFrom(HANDLE hSource, const CStringW& target, bool bFlush)
{
    const ScopedHandle created(CreateFileW(target.GetString(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!created.IsValid())
        return WinResult::FromLastError(false);
    WinResult result = CopyHeld(hSource, created.Get());
    if (result && bFlush)
        result = WinResult::FromLastError(FlushFileBuffers(created.Get()) != FALSE);
    if (!result) {
        FILE_DISPOSITION_INFO gone = {TRUE};
        SetFileInformationByHandle(created.Get(), FileDispositionInfo, &gone, sizeof gone);
    }
    return result;
}

} // namespace

WinResult PlaceFile(const CStringW& strSource, const CStringW& strTarget)
{
    if (!FitsPath(strSource))
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    // Others may go on reading it, none may write it meanwhile: the copy is of one
    // state of the file.
    const ScopedHandle source(CreateFileW(strSource.GetString(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.IsValid())
        return WinResult::FromLastError(false);
    return PlaceFile(source.Get(), strTarget);
}

WinResult PlaceFile(HANDLE hSource, const CStringW& strTarget)
{
    const CStringW placing = PlacingName(strTarget);
    if (!FitsPath(placing))
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    // A name nothing holds is created new; whatever stops that, the way beside
    // the name follows, which replaces a link and tells its own failure.
    if (!HoldsFile(strTarget) && CreateNewFrom(hSource, strTarget, false))
        return WinResult();
    ClearOurName(placing);
    // On the disk before it takes the name: a power cut then leaves the old file.
    const WinResult placed = CreateNewFrom(hSource, placing, true);
    if (!placed)
        return placed;
    return MoveIntoPlace(placing, strTarget);
}

WinResult CopyOverwrite(const CStringW& strSource, const CStringW& strTarget)
{
    if (!FitsPath(strSource) || !FitsPath(strTarget))
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    return WinResult::FromLastError(CopyFileW(strSource.GetString(), strTarget.GetString(), FALSE) != FALSE);
}

WinResult Delete(const CStringW& strPath)
{
    return WinResult::FromLastError(DeleteFileW(strPath.GetString()) != FALSE);
}

WinResult CreateFolder(const CStringW& strPath)
{
    if (!FitsPath(strPath))
        return WinResult(ERROR_FILENAME_EXCED_RANGE);
    return WinResult::FromLastError(CreateDirectoryW(strPath.GetString(), nullptr) != FALSE);
}

WinResult RemoveFolder(const CStringW& strPath)
{
    return WinResult::FromLastError(RemoveDirectoryW(strPath.GetString()) != FALSE);
}

bool Exists(const CStringW& strPath)
{
    return GetAttributes(strPath) != INVALID_FILE_ATTRIBUTES;
}

bool IsLink(const CStringW& strPath)
{
    const DWORD attributes = GetAttributes(strPath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool ReadAll(const CStringW& strPath, CString& strContent)
{
    ScopedHandle file(CreateFileW(strPath.GetString(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 64 * 1024 * 1024)
        return false;
    const DWORD n = static_cast<DWORD>(size.QuadPart);
    char* p = static_cast<char*>(calloc(n + 1, 1));
    if (!p)
        return false;
    DWORD read = 0;
    const bool ok = ReadFile(file.Get(), p, n, &read, nullptr) && read == n;
    // Counted, not up to the first zero: the bytes may be of any encoding.
    strContent = ok ? CString(p, static_cast<int>(n)) : CString();
    free(p);
    return ok;
}

bool SameContent(const CStringW& a, const CStringW& b)
{
    CString x, y;
    return ReadAll(a, x) && ReadAll(b, y) && x.GetLength() == y.GetLength() &&
           memcmp(x.GetString(), y.GetString(), static_cast<size_t>(x.GetLength())) == 0;
}

WinResult ReplaceAll(const CStringW& strPath, const CString& strContent)
{
    const CStringW fresh = strPath + L".new";
    {
        ScopedHandle file(CreateFileW(fresh.GetString(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
        if (!file.IsValid())
            return WinResult::FromLastError(false);
        DWORD written = 0;
        const DWORD n = static_cast<DWORD>(strContent.GetLength());
        if (!WriteFile(file.Get(), strContent.GetString(), n, &written, nullptr) || !FlushFileBuffers(file.Get()))
            return WinResult::FromLastError(false);
        if (written != n)
            return WinResult(ERROR_WRITE_FAULT);
    }
    return WinResult::FromLastError(MoveFileExW(fresh.GetString(), strPath.GetString(),
                                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE);
}

WinResult DeleteAtRestart(const CStringW& strPath)
{
    return WinResult::FromLastError(MoveFileExW(strPath.GetString(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE);
}

CStringW TempFolderW()
{
    typedef DWORD(WINAPI * GetTempPath2WFn)(DWORD, LPWSTR);
    const auto getTempPath2 = reinterpret_cast<GetTempPath2WFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
    CStringW folder = getTempPath2 ? AskPathW([&](wchar_t* p, DWORD n) { return getTempPath2(n, p); })
                                   : AskPathW([](wchar_t* p, DWORD n) { return GetTempPathW(n, p); });
    if (folder.GetLength() > 3 && folder.GetString()[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

CStringW UnpredictableName()
{
    unsigned char bytes[8] = {};
    RtlGenRandom(bytes, sizeof bytes);
    CStringW name;
    for (unsigned char b : bytes)
        name += CStringW::FormatText("%02x", static_cast<unsigned>(b));
    return name;
}

namespace {

// Opened as itself (a link is never followed), for reading its identity and,
// with extra, for more.
ScopedHandle OpenAsItself(const CStringW& path, DWORD extra)
{
    return ScopedHandle(CreateFileW(path.GetString(), FILE_READ_ATTRIBUTES | extra,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}


} // namespace

CStringW IdentityOf(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(h, &info))
        return CStringW();
    return CStringW::FormatText("%08lx-%08lx%08lx", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                                info.nFileIndexLow);
}

ScopedHandle OpenAgainstWriters(const CStringW& strPath)
{
    return ScopedHandle(CreateFileW(strPath.GetString(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

CStringW FileIdentity(const CStringW& strPath)
{
    ScopedHandle file = OpenAsItself(strPath, 0);
    return file.IsValid() ? IdentityOf(file.Get()) : CStringW();
}

WinResult DeleteIfSameFile(const CStringW& strPath, const CStringW& strIdentity)
{
    ScopedHandle file = OpenAsItself(strPath, DELETE);
    if (!file.IsValid())
        return WinResult::FromLastError(false);
    if (strIdentity.IsEmpty() || IdentityOf(file.Get()) != strIdentity)
        return WinResult(ERROR_FILE_INVALID);
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return WinResult::FromLastError(
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE);
}

namespace {

// "\\?\C:\..." and "\\?\UNC\server\..." as the paths the program compares.
CStringW WithoutDevicePrefix(const CStringW& path)
{
    if (path.StartsWithNoCase(L"\\\\?\\UNC\\"))
        return L"\\\\" + path.Mid(8, path.GetLength());  // "\\server\share\..."
    if (path.StartsWithNoCase(L"\\\\?\\"))
        return path.Mid(4, path.GetLength());
    return path;
}

bool IsReparsePoint(const CStringW& path)
{
    const DWORD attributes = GetFileAttributesW(path.GetString());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

CStringW FinalPathOf(HANDLE h)
{
    return WithoutDevicePrefix(
        AskPathW([&](wchar_t* p, DWORD n) { return GetFinalPathNameByHandleW(h, p, n, FILE_NAME_NORMALIZED); }));
}

WinResult DeleteInside(const CStringW& strFolder, const CStringW& strRelative)
{
    // Each part of the path below the folder, as itself.
    for (int i = strRelative.Find(L'\\'); i >= 0; i = strRelative.Find(L'\\', i + 1)) {
        if (IsReparsePoint(strFolder + L"\\" + strRelative.Left(i)))
            return WinResult(kErrorReparsePoint);
    }
    ScopedHandle file = OpenAsItself(strFolder + L"\\" + strRelative, DELETE | FILE_WRITE_ATTRIBUTES);
    if (!file.IsValid())
        return WinResult::FromLastError(false);
    // What was opened, wherever a part was swapped for a link meanwhile, must lie
    // in the folder (both as Windows resolves them: a drive letter made by SUBST
    // or a folder the user chose through a junction compare alike).
    const ScopedHandle folder(CreateFileW(strFolder.GetString(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const CStringW inside = folder.IsValid() ? FinalPathOf(folder.Get()) : CStringW();
    FILE_BASIC_INFO basic = {};
    if (inside.IsEmpty() || !LiesInsideResolved(FinalPathOf(file.Get()), inside) ||
        !GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic) ||
        (basic.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
        return WinResult(kErrorReparsePoint);
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
        basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        SetFileInformationByHandle(file.Get(), FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return WinResult::FromLastError(
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE);
}

CStringW CurrentFolderW()
{
    wchar_t sz[260] = {};
    const DWORD n = GetCurrentDirectoryW(260, sz);
    if (n == 0 || n >= 260)
        return CStringW();
    return CStringW(sz, static_cast<int>(n));
}

CStringW LongFullPathW(const CStringW& strPath)
{
    const CStringW full =
        AskPathW([&](wchar_t* p, DWORD n) { return GetFullPathNameW(strPath.GetString(), n, p, nullptr); });
    if (full.IsEmpty())
        return strPath;
    const CStringW longForm = AskPathW([&](wchar_t* p, DWORD n) { return GetLongPathNameW(full.GetString(), p, n); });
    if (!longForm.IsEmpty())
        return longForm;
    const int cut = full.ReverseFind(L'\\');
    if (cut <= 2)
        return full;
    return LongFullPathW(full.Left(cut)) + full.Mid(cut, full.GetLength() - cut);
}

CStringW ShortPathW(const CStringW& strPath)
{
    return AskPathW([&](wchar_t* p, DWORD n) { return GetShortPathNameW(strPath.GetString(), p, n); });
}

bool SameFolder(const CStringW& a, const CStringW& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && LongFullPathW(a).EqualsNoCase(LongFullPathW(b));
}

bool LiesInside(const CStringW& strPath, const CStringW& strFolder)
{
    return !strPath.IsEmpty() && !strFolder.IsEmpty() &&
           LiesInsideResolved(LongFullPathW(strPath), LongFullPathW(strFolder));
}

bool LiesInsideResolved(const CStringW& strPath, const CStringW& strFolder)
{
    return strFolder.GetLength() > 0 && strPath.StartsWithNoCase(strFolder + L"\\");
}

DWORD ProbeAccess(const CStringW& strPath, DWORD dwAccess)
{
    ScopedHandle file(CreateFileW(strPath.GetString(), dwAccess,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() ? ERROR_SUCCESS : GetLastError();
}

DWORD ProbeWritableFolder(const CStringW& strFolder)
{
    const CStringW probe = CStringW::FormatText("%s\\~Q-Ostrevo-probe-%lu-%lu.tmp", strFolder.GetString(),
                                                GetCurrentProcessId(), GetTickCount());
    ScopedHandle file(CreateFileW(probe.GetString(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.IsValid() ? ERROR_SUCCESS : GetLastError();
}

} // namespace Files

int GetPathKind(const CStringW& strPath)
{
    FileFinder finder;
    if (!finder.First(strPath))
        return kPathMissing;
    return finder.IsFolder() ? kPathFolder : kPathFile;
}

void ClearReadOnly(const CStringW& strPath)
{
    const DWORD attributes = Files::GetAttributes(strPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        Files::SetAttributes(strPath, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}
