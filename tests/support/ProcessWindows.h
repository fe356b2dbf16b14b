// A program's windows found from outside, as a user sees them: visible and on top.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

using WindowMatch = std::function<bool(HWND)>;

// Every visible top-level window of process pid (0: of any process) that match accepts.
std::vector<HWND> VisibleWindowsOf(DWORD pid, const WindowMatch& match);
// The first of them, or NULL.
HWND FindVisibleWindow(DWORD pid, const WindowMatch& match);

// A message box: a dialog whose text is its static item 0xFFFF.
bool IsMessageBox(HWND hWnd);
