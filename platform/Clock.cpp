#include "platform/Clock.h"

#include <windows.h>

namespace Clock {

CString Today()
{
    SYSTEMTIME t = {};
    GetLocalTime(&t);
    CString text;
    text.Format("%04u%02u%02u", t.wYear, t.wMonth, t.wDay);
    return text;
}

CString Now()
{
    SYSTEMTIME t = {};
    GetLocalTime(&t);
    CString text;
    text.Format("%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

} // namespace Clock
