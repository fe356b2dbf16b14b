// The reference for the start-up benchmark: a Windows program that shows one
// modal dialog and nothing else, built as the setup is (static, the same
// toolchain, no exceptions). It ends when its dialog is closed.
#include <windows.h>

#include "bench/DialogOnly.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // An in-memory template: a titled, visible 200 x 100 dialog with one button.
    alignas(4) static WORD buffer[256] = {};
    DLGTEMPLATE* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER;
    dialog->cx = 200;
    dialog->cy = 100;
    WORD* p = reinterpret_cast<WORD*>(dialog + 1);
    *p++ = 0;  // no menu
    *p++ = 0;  // the standard class
    for (const wchar_t* title = L"Trivial dialog"; (*p++ = *title) != 0; ++title) {
    }
    return static_cast<int>(DialogBoxIndirectW(hInstance, dialog, nullptr, DialogOnlyProc));
}
