// A WH_CALLWNDPROC hook that Windows loads into SetUp.exe for the high-DPI test:
// on kMeasureMessage it measures every static text of the dialog with the font
// the control draws with, and writes the results into the shared block.
#include "tests/e2e/MeasureHook.h"

#include <cwchar>

namespace {

bool IsTextStatic(HWND hWnd)
{
    wchar_t cls[32] = {};
    GetClassNameW(hWnd, cls, 32);
    const LONG type = GetWindowLongW(hWnd, GWL_STYLE) & SS_TYPEMASK;
    return lstrcmpiW(cls, L"Static") == 0 && (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
}

void Measure(HWND dialog, MeasuredTexts& out)
{
    out.count = 0;
    HDC dc = GetDC(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child && out.count < 40; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsTextStatic(child))
            continue;
        MeasuredText& m = out.texts[out.count];
        const int n = GetWindowTextW(child, m.text, 128);
        if (n == 0)
            continue;
        m.id = GetDlgCtrlID(child);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        LOGFONTW lf = {};
        GetObjectW(font, sizeof lf, &lf);
        m.fontHeight = lf.lfHeight;
        const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
        GetTextExtentPoint32W(dc, m.text, n, &m.needed);
        SelectObject(dc, old);
        RECT client = {};
        GetClientRect(child, &client);
        m.client = SIZE{client.right, client.bottom};
        ++out.count;
    }
    ReleaseDC(dialog, dc);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MeasureTextsHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == RegisterWindowMessageW(kMeasureMessage)) {
        HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kMeasureMapping);
        void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(MeasuredTexts)) : nullptr;
        if (view) {
            Measure(msg->hwnd, *static_cast<MeasuredTexts*>(view));
            UnmapViewOfFile(view);
        }
        if (mapping)
            CloseHandle(mapping);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
