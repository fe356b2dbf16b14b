// From a program's launch to its dialog on the screen, as a user waits for it.
//   StartupBench EXE DIR   starts EXE in DIR, waits until a visible top-level
//                          window of it shows, prints "launch to dialog: N ms",
//                          and closes it (WM_CLOSE, then ends it if need be).
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/ProcessWindows.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    std::string cmd = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(argv[1], &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, argv[2], &si, &pi))
        return 1;
    HWND dialog = nullptr;
    // Polled every 2 ms: often enough to be fair to both, rarely enough not to
    // load the Wine server both programs go through.
    while (!dialog && WaitForSingleObject(pi.hProcess, 2) == WAIT_TIMEOUT)
        dialog = FindVisibleWindow(pi.dwProcessId, [](HWND) { return true; });
    QueryPerformanceCounter(&t1);
    if (dialog)
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::printf("launch to dialog: %.0f ms\n", 1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart));
    return dialog ? 0 : 1;
}
