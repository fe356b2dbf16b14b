// The real program as a user meets it: SetUp.exe from a distribution folder on the
// simulated machine, Install clicked, timed until the first message box shows.
//   DialogBench DIST   prints "click to message: N ms"; the boxes are then
//                      answered and the machine cleaned again.
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProcessWindows.h"

namespace {

double Ms(const LARGE_INTEGER& t0, const LARGE_INTEGER& t1)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    MachineFixture machine(FixturesDir());
    const std::string exe = std::string(argv[1]) + "\\SetUp.exe";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, argv[1], &si, &pi))
        return 1;
    HWND dialog = nullptr;
    for (int i = 0; i < 3000 && !dialog; ++i) {
        dialog = FindSetupDialog(pi.dwProcessId);
        Sleep(5);
    }
    if (!dialog)
        return 1;
    Sleep(500);  // the dialog settled, as a user would see it before clicking
    HWND box = nullptr;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    PostMessageA(GetDlgItem(dialog, IDC_INSTALL), BM_CLICK, 0, 0);
    // Polled once a millisecond: a tight loop would flood the Wine server that the
    // setup's own file calls go through, and slow down what it measures.
    while (!box && WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT)
        box = FindVisibleWindow(pi.dwProcessId, [dialog](HWND h) { return h != dialog && IsMessageBox(h); });
    QueryPerformanceCounter(&t1);
    MessageBoxAnswerer boxes;
    boxes.WatchProcess(pi.dwProcessId);
    WaitForSingleObject(pi.hProcess, 120000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::printf("click to message: %.0f ms\n", Ms(t0, t1));
    return box ? 0 : 1;
}
