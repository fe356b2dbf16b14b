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

// True when p starts with the switch as a word of its own.
bool IsSwitch(const wchar_t* p, const wchar_t* pszSwitch)
{
    const size_t n = wcslen(pszSwitch);
    return StartsWith(p, pszSwitch) && (p[n] == L'\0' || IsBlank(p[n]));
}

// The switches that are a word of their own, and what each sets.
struct WordSwitch {
    const wchar_t* pszSwitch;
    bool CommandLine::*pbSet;
};
const WordSwitch kWordSwitches[] = {
    {L"/S", &CommandLine::bSilent},
    {L"/NORESTART", &CommandLine::bNoRestart},
    {L"/?", &CommandLine::bHelp},
    {L"/HELP", &CommandLine::bHelp},
};

// The word switch at p, or NULL.
const WordSwitch* FindWordSwitch(const wchar_t* p)
{
    for (const WordSwitch& word : kWordSwitches)
        if (IsSwitch(p, word.pszSwitch))
            return &word;
    return nullptr;
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

// Reads "/LOG=<file>" or "/LOG="<file>"" at p (past the switch's name); returns
// where it ends. understood turns false for an empty name or one run on.
const wchar_t* ReadLogSwitch(const wchar_t* p, CStringW& log, bool& understood)
{
    const wchar_t* end;
    if (*p == L'"') {
        ++p;
        end = wcschr(p, L'"');
        if (!end) {  // the rest of the line is the unclosed name
            understood = false;
            return p + wcslen(p);
        }
        log = CStringW(p, static_cast<int>(end - p));
        ++end;
    } else {
        end = p;
        while (*end && !IsBlank(*end))
            ++end;
        log = CStringW(p, static_cast<int>(end - p));
    }
    if (log.IsEmpty() || (*end && !IsBlank(*end)))
        understood = false;
    while (*end && !IsBlank(*end))
        ++end;
    return end;
}

// Reads one word at p, quoted (blanks kept, quotes dropped) or not; returns where it ends.
const wchar_t* ReadWord(const wchar_t* p, CStringW& word)
{
    if (*p == L'"') {
        const wchar_t* end = wcschr(p + 1, L'"');
        const wchar_t* stop = end ? end : p + wcslen(p);
        word = CStringW(p + 1, static_cast<int>(stop - p - 1));
        return end ? end + 1 : stop;
    }
    const wchar_t* start = p;
    while (*p && !IsBlank(*p))
        ++p;
    word = CStringW(start, static_cast<int>(p - start));
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
            p = ReadLogSwitch(p + 5, result.strLog, understood);
            continue;
        }
        const WordSwitch* word = FindWordSwitch(p);
        if (word) {
            result.*word->pbSet = true;
            p += wcslen(word->pszSwitch);
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
        CStringW word;
        p = ReadWord(p, word);
        words.Add(word);
    }
}

bool ParseTrustedPathCommandLine(const CStringW& strRaw, TrustedPathCommand& result)
{
    result = TrustedPathCommand();
    const wchar_t* p = SkipProgramName(strRaw.GetString());
    const CStringW add = CStringW::FromText(kTrustedPathAddSwitch);
    const CStringW remove = CStringW::FromText(kTrustedPathRemoveSwitch);
    bool understood = true;
    bool hasMode = false;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return understood && hasMode && !result.strFolder.IsEmpty();
        if (StartsWith(p, L"/LOG=")) {
            p = ReadLogSwitch(p + 5, result.strLog, understood);
            continue;
        }
        CStringW word;
        p = ReadWord(p, word);
        const bool isAdd = word.EqualsNoCase(add);
        if (hasMode || (!isAdd && !word.EqualsNoCase(remove))) {
            understood = false;
            continue;
        }
        hasMode = true;
        result.bRemove = !isAdd;
        while (IsBlank(*p))
            ++p;
        p = ReadWord(p, result.strFolder);
    }
}
