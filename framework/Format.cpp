#include "framework/Format.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool FormatInto(char* buf, size_t size, const char* pszFormat, va_list args)
{
    std::memset(buf, 0, size);
    // The C runtime's own formatting: -1 (or the whole size, unterminated) when
    // the text does not fit.
    const int n = _vsnprintf(buf, size, pszFormat, args);
    buf[size - 1] = '\0';
    return n >= 0 && static_cast<size_t>(n) < size;
}

} // namespace

bool FormatPath(PathBuffer& buf, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    const bool fits = FormatInto(buf, sizeof buf, pszFormat, args);
    va_end(args);
    return fits;
}

bool FormatLong(LongBuffer& buf, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    const bool fits = FormatInto(buf, sizeof buf, pszFormat, args);
    va_end(args);
    return fits;
}
