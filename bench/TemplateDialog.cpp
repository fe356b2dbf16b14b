// The start-up benchmark's second reference: the setup's own dialog (its
// template, pictures and manifest, from the same resource script) shown by a
// program that does nothing else, as the trivial dialog is. The setup against
// it is what the setup's own work before its dialog costs; it against the
// trivial dialog is what that dialog costs to make.
#include <windows.h>

#include <commctrl.h>

#include "bench/DialogOnly.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // The progress bar's class, as the setup registers it before its dialog.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_SETUP), nullptr, DialogOnlyProc, 0));
}
