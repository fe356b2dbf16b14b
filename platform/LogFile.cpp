#include "platform/LogFile.h"

#include <cstdlib>

#include <aclapi.h>

#include "platform/Clock.h"
#include "platform/UserSession.h"

namespace {

// True when the file's owner is Administrators, SYSTEM or this account.
bool OwnedByUs(HANDLE h)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &sd) !=
        ERROR_SUCCESS)
        return false;
    const bool ours = IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid) ||
                      UserSession::IsThisAccount(owner);
    LocalFree(sd);
    return ours;
}

void WriteAll(HANDLE h, const char* p, DWORD n)
{
    DWORD written = 0;
    WriteFile(h, p, n, &written, nullptr);
}

} // namespace

WinResult LogFile::Open(const CStringW& strPath, bool bAppend, const CStringW& strIdentity)
{
    m_strPath = Files::LongFullPathW(strPath);
    // The folders on the way, from the top down (those that exist pass over).
    for (int i = m_strPath.Find(L'\\', 3); i > 0; i = m_strPath.Find(L'\\', i + 1))
        Files::CreateFolder(m_strPath.Left(i));
    // Opened as itself and looked at before a byte is written: an elevated run
    // writes where a user may have left a link or a second name of a file of the
    // system's (the temporary folder under SYSTEM is one anybody may write).
    if (Files::IsLink(m_strPath))
        return WinResult(kErrorReparsePoint);
    ScopedHandle file(CreateFileW(m_strPath.GetString(), GENERIC_WRITE | READ_CONTROL, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsValid())
        return WinResult::FromLastError(false);
    // A file that was there already must be ours: one a user made first (in the
    // temporary folder under SYSTEM, say) would let them read every line.
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (existed && !OwnedByUs(file.Get()))
        return WinResult(ERROR_ACCESS_DENIED);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(file.Get(), &info))
        return WinResult::FromLastError(false);
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        return WinResult(kErrorReparsePoint);
    if (info.nNumberOfLinks > 1)
        return WinResult(ERROR_TOO_MANY_LINKS);
    if (!strIdentity.IsEmpty() && Files::IdentityOf(file.Get()) != strIdentity)
        return WinResult(ERROR_FILE_INVALID);
    if (!bAppend && !SetEndOfFile(file.Get()))
        return WinResult::FromLastError(false);
    m_file.Reset(file.Release());
    LARGE_INTEGER end = {};
    SetFilePointerEx(m_file.Get(), end, &end, FILE_END);
    if (end.QuadPart == 0)
        WriteAll(m_file.Get(), "\xEF\xBB\xBF", 3);
    return WinResult();
}

CStringW LogFile::Identity() const
{
    return m_file.IsValid() ? Files::IdentityOf(m_file.Get()) : CStringW();
}

void LogFile::Write(const CStringW& strLine)
{
    if (!m_file.IsValid())
        return;
    CStringW line = CStringW::FromText(Clock::Now()) + L"  ";
    for (int i = 0; i < strLine.GetLength(); ++i) {
        const wchar_t c = strLine.GetString()[i];
        line += (c == L'\r' || c == L'\n') ? L' ' : c;
    }
    const CString utf8 = line.ToUtf8() + "\r\n";
    WriteAll(m_file.Get(), utf8, static_cast<DWORD>(utf8.GetLength()));
}
