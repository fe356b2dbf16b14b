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

bool LogFile::Open(const char* pszPath, bool bAppend)
{
    m_file.Reset(CreateFileW(CStringW::FromText(pszPath).GetString(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
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
    CStringW line = CStringW::FromText(Clock::Now()) + L"  " + strLine;
    const int cch = line.GetLength();
    wchar_t* wide = static_cast<wchar_t*>(calloc(static_cast<size_t>(cch) + 1, sizeof(wchar_t)));
    const int cb = wide ? 4 * cch + 1 : 0;  // UTF-8 takes at most 3 bytes per UTF-16 unit
    char* utf8 = wide ? static_cast<char*>(calloc(static_cast<size_t>(cb), 1)) : nullptr;
    if (utf8) {
        for (int i = 0; i < cch; ++i) {
            const wchar_t c = line.GetString()[i];
            wide[i] = (c == L'\r' || c == L'\n') ? L' ' : c;
        }
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide, cch, utf8, cb, nullptr, nullptr);
        WriteAll(m_file.Get(), utf8, static_cast<DWORD>(n));
    }
    free(utf8);
    free(wide);
    WriteAll(m_file.Get(), "\r\n", 2);
}
