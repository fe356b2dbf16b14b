#include "app/CommandLine.h"

#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// True when p starts with the switch (case-insensitive).
bool StartsWith(const char* p, const char* pszSwitch)
{
    const size_t n = std::strlen(pszSwitch);
    return CString(p, static_cast<int>(strnlen(p, n))).CompareNoCase(pszSwitch) == 0;
}

// Past the program name, quoted or not.
const char* SkipProgramName(const char* p)
{
    if (*p == '"') {
        const char* end = std::strchr(p + 1, '"');
        return end ? end + 1 : p + std::strlen(p);
    }
    while (*p && !IsBlank(*p))
        ++p;
    return p;
}

} // namespace

bool ParseCommandLine(const char* pszRaw, bool bAcceptFolder, CommandLine& result)
{
    result = CommandLine();
    const char* p = SkipProgramName(pszRaw ? pszRaw : "");
    bool understood = true;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return understood;
        if (bAcceptFolder && StartsWith(p, "/D=")) {
            CString folder(p + 3);
            while (!folder.IsEmpty() && IsBlank(folder[folder.GetLength() - 1]))
                folder.Delete(folder.GetLength() - 1);
            if (folder.GetLength() >= 2 && folder[0] == '"' && folder[folder.GetLength() - 1] == '"')
                folder = folder.Mid(1, folder.GetLength() - 2);
            result.strFolder = folder;
            result.bHasFolder = true;
            return understood;
        }
        if (StartsWith(p, "/LOG=")) {
            p += 5;
            const char* end;
            if (*p == '"') {
                ++p;
                end = std::strchr(p, '"');
                if (!end)
                    return false;  // the rest of the line is the unclosed name
                result.strLog = CString(p, static_cast<int>(end - p));
                ++end;
            } else {
                end = p;
                while (*end && !IsBlank(*end))
                    ++end;
                result.strLog = CString(p, static_cast<int>(end - p));
            }
            if (result.strLog.IsEmpty() || (*end && !IsBlank(*end)))
                understood = false;
            while (*end && !IsBlank(*end))
                ++end;
            p = end;
            continue;
        }
        if (StartsWith(p, "/S") && (p[2] == '\0' || IsBlank(p[2]))) {
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

void SplitArguments(const char* pszRaw, CStringArray& words)
{
    const char* p = pszRaw ? pszRaw : "";
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return;
        CString word;
        if (*p == '"') {
            const char* end = std::strchr(p + 1, '"');
            const char* stop = end ? end : p + std::strlen(p);
            word = CString(p + 1, static_cast<int>(stop - p - 1));
            p = end ? end + 1 : stop;
        } else {
            const char* start = p;
            while (*p && !IsBlank(*p))
                ++p;
            word = CString(start, static_cast<int>(p - start));
        }
        words.Add(word);
    }
}
