// A face with nobody there that keeps what it is told: the log lines (as UTF-8)
// and the messages, for tests that look at what a step reported.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Reporter.h"

class NoteRecorder : public Reporter {
public:
    using Reporter::Note;
    using Reporter::Tell;
    void Note(const CStringW& strLine) override { notes.push_back(Utf8(strLine)); }
    void Tell(const CStringW& strText, const char*) override { told.push_back(Utf8(strText)); }
    int Ask(const CStringW& strText, const char*, UINT, int nUnattended) override
    {
        told.push_back(Utf8(strText));
        return nUnattended;
    }
    void BeginProgress(int) override {}
    void Step() override {}
    void FinishProgress() override {}

    static std::string Utf8(const CStringW& s)
    {
        const int n = WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), &out[0], n, nullptr, nullptr);
        return out;
    }

    std::vector<std::string> notes;
    std::vector<std::string> told;
};
