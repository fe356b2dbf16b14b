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

bool LogFile::Open(const CStringW& strPath, bool bAppend)
{
    m_file.Reset(CreateFileW(strPath.GetString(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             bAppend ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file.IsValid())
        return false;
    LARGE_INTEGER end = {};
    SetFilePointerEx(m_file.Get(), end, &end, FILE_END);
    if (end.QuadPart == 0)
        WriteAll(m_file.Get(), "\xEF\xBB\xBF", 3);
    return true;
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
