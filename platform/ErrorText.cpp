#include "platform/ErrorText.h"

#include "res/Texts.h"

CStringW DescribeError(DWORD dwError)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, dwError, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    CStringW message = n > 0 && text ? CStringW(text, static_cast<int>(n)) : CStringW();
    if (text)
        LocalFree(text);
    // The system's text ends with a line break (and often a blank): one line in the log.
    int end = message.GetLength();
    const wchar_t* p = message.GetString();
    while (end > 0 && (p[end - 1] == L'\r' || p[end - 1] == L'\n' || p[end - 1] == L' '))
        --end;
    message = message.Left(end);
    return CStringW::FormatText(Texts::kErrorFormat, static_cast<unsigned long>(dwError), message.GetString());
}
