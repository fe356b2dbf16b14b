// What the high-DPI test's hook measures inside SetUp.exe, and how it hands it
// over: a font handle is its own process's, so another program cannot measure
// a control's text with the control's font; the hook, run in the program's own
// thread, can.
#pragma once

#include <windows.h>

// Sent to the dialog: the hook measures its static texts into the shared block.
constexpr wchar_t kMeasureMessage[] = L"Trabex.Test.MeasureTexts";
constexpr wchar_t kMeasureMapping[] = L"Trabex.Test.MeasuredTexts";
constexpr char kMeasureHookProc[] = "MeasureTextsHook";

struct MeasuredText {
    int id;
    SIZE needed;      // GetTextExtentPoint32W with the control's font
    SIZE client;      // the control's client area
    LONG fontHeight;  // the font's lfHeight
    wchar_t text[128];
};

struct MeasuredTexts {
    int count;
    MeasuredText texts[40];
};
