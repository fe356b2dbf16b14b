// The dialog procedure of the start-up benchmark's reference programs: the
// dialog does nothing but end when it is closed.
#pragma once

#include <windows.h>

inline INT_PTR CALLBACK DialogOnlyProc(HWND hDialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}
