#include "platform/LogFile.h"

#include <cstdlib>

#include "platform/Clock.h"

namespace {

void WriteAll(HANDLE h, const char* p, DWORD n)
{
    DWORD written = 0;
    WriteFile(h, p, n, &written, nullptr);
}

} // namespace

WinResult LogFile::Open(const CStringW& strPath, bool bAppend)
{
    m_strPath = Files::LongFullPathW(strPath);
    // The folders on the way, from the top down (those that exist pass over).
    for (int i = m_strPath.Find(L'\\', 3); i > 0; i = m_strPath.Find(L'\\', i + 1))
        Files::CreateFolder(m_strPath.Left(i));
    m_file.Reset(CreateFileW(m_strPath.GetString(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             bAppend ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file.IsValid())
        return WinResult::FromLastError(false);
    LARGE_INTEGER end = {};
    SetFilePointerEx(m_file.Get(), end, &end, FILE_END);
    if (end.QuadPart == 0)
        WriteAll(m_file.Get(), "\xEF\xBB\xBF", 3);
    return WinResult();
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
