#include "app/CommandLine.h"

#include <wchar.h>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// True when p starts with the switch (ASCII, case-insensitive).
bool StartsWith(const wchar_t* p, const wchar_t* pszSwitch)
{
    const size_t n = wcslen(pszSwitch);
    return CStringW(p, static_cast<int>(wcsnlen(p, n))).EqualsNoCase(CStringW(pszSwitch));
}

// Past the program name, quoted or not.
const wchar_t* SkipProgramName(const wchar_t* p)
{
    if (*p == L'"') {
        const wchar_t* end = wcschr(p + 1, L'"');
        return end ? end + 1 : p + wcslen(p);
    }
    while (*p && !IsBlank(*p))
        ++p;
    return p;
}

} // namespace

bool ParseCommandLine(const CStringW& strRaw, bool bAcceptFolder, CommandLine& result)
{
    result = CommandLine();
    const wchar_t* p = SkipProgramName(strRaw.GetString());
    bool understood = true;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return understood;
        if (bAcceptFolder && StartsWith(p, L"/D=")) {
            const wchar_t* begin = p + 3;
            const wchar_t* end = begin + wcslen(begin);
            while (end > begin && IsBlank(end[-1]))
                --end;
            if (end - begin >= 2 && *begin == L'"' && end[-1] == L'"') {
                ++begin;
                --end;
            }
            result.strFolder = CStringW(begin, static_cast<int>(end - begin));
            result.bHasFolder = true;
            return understood;
        }
        if (StartsWith(p, L"/LOG=")) {
            p += 5;
            const wchar_t* end;
            if (*p == L'"') {
                ++p;
                end = wcschr(p, L'"');
                if (!end)
                    return false;  // the rest of the line is the unclosed name
                result.strLog = CStringW(p, static_cast<int>(end - p));
                ++end;
            } else {
                end = p;
                while (*end && !IsBlank(*end))
                    ++end;
                result.strLog = CStringW(p, static_cast<int>(end - p));
            }
            if (result.strLog.IsEmpty() || (*end && !IsBlank(*end)))
                understood = false;
            while (*end && !IsBlank(*end))
                ++end;
            p = end;
            continue;
        }
        if (StartsWith(p, L"/S") && (p[2] == L'\0' || IsBlank(p[2]))) {
            result.bSilent = true;
            p += 2;
            continue;
        }
        // Not understood; the words after it are still read, so that a /S there
        // keeps the run without windows.
        understood = false;
        while (*p && !IsBlank(*p))
            ++p;
    }
}

void SplitArguments(const CStringW& strRaw, CStringArrayW& words)
{
    const wchar_t* p = strRaw.GetString();
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return;
        if (*p == L'"') {
            const wchar_t* end = wcschr(p + 1, L'"');
            const wchar_t* stop = end ? end : p + wcslen(p);
            words.Add(CStringW(p + 1, static_cast<int>(stop - p - 1)));
            p = end ? end + 1 : stop;
        } else {
            const wchar_t* start = p;
            while (*p && !IsBlank(*p))
                ++p;
            words.Add(CStringW(start, static_cast<int>(p - start)));
        }
    }
}
