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

// Reads "/LOG=<file>" or "/LOG="<file>"" at p (past the switch's name); returns
// where it ends. understood turns false for an empty name or one run on.
const char* ReadLogSwitch(const char* p, CString& log, bool& understood)
{
    const char* end;
    if (*p == '"') {
        ++p;
        end = std::strchr(p, '"');
        if (!end) {  // the rest of the line is the unclosed name
            understood = false;
            return p + std::strlen(p);
        }
        log = CString(p, static_cast<int>(end - p));
        ++end;
    } else {
        end = p;
        while (*end && !IsBlank(*end))
            ++end;
        log = CString(p, static_cast<int>(end - p));
    }
    if (log.IsEmpty() || (*end && !IsBlank(*end)))
        understood = false;
    while (*end && !IsBlank(*end))
        ++end;
    return end;
}

// Reads one word at p, quoted (blanks kept, quotes dropped) or not; returns where it ends.
const char* ReadWord(const char* p, CString& word)
{
    if (*p == '"') {
        const char* end = std::strchr(p + 1, '"');
        const char* stop = end ? end : p + std::strlen(p);
        word = CString(p + 1, static_cast<int>(stop - p - 1));
        return end ? end + 1 : stop;
    }
    const char* start = p;
    while (*p && !IsBlank(*p))
        ++p;
    word = CString(start, static_cast<int>(p - start));
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
            p = ReadLogSwitch(p + 5, result.strLog, understood);
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
        p = ReadWord(p, word);
        words.Add(word);
    }
}

bool ParseTrustedPathCommandLine(const char* pszRaw, TrustedPathCommand& result)
{
    result = TrustedPathCommand();
    const char* p = SkipProgramName(pszRaw ? pszRaw : "");
    bool understood = true;
    bool hasMode = false;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return understood && hasMode && !result.strFolder.IsEmpty();
        if (StartsWith(p, "/LOG=")) {
            p = ReadLogSwitch(p + 5, result.strLog, understood);
            continue;
        }
        CString word;
        p = ReadWord(p, word);
        const bool add = word.CompareNoCase(kTrustedPathAddSwitch) == 0;
        if (hasMode || (!add && word.CompareNoCase(kTrustedPathRemoveSwitch) != 0)) {
            understood = false;
            continue;
        }
        hasMode = true;
        result.bRemove = !add;
        while (IsBlank(*p))
            ++p;
        p = ReadWord(p, result.strFolder);
    }
}
