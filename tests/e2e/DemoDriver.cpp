// Runs the demo on the simulated machine:
//   demo_driver DIST SHOTS auto         drives SetUp.exe to the end as a user would,
//                                        saving screenshots into SHOTS
//   demo_driver DIST SHOTS interactive  lets the user work the dialog
// and then prints what was installed. DIST holds SetUp.exe beside Data.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "res/resource.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Screen.h"

namespace {

void Say(const std::string& gbk)
{
    const std::string utf8 = ToUtf8(gbk);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void Screenshot(const std::string& path)
{
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SaveScreenBmp(screen, path.c_str());
}

bool StartProgram(const std::string& exe, PROCESS_INFORMATION& pi)
{
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
}

// Runs the installed Uninstall.exe: the user's own clicks, or 卸载 with screenshots.
void RunUninstall(const std::string& shots, bool interactive)
{
    const std::string exe = "C:\\Trabex\\Q-Ostrevo\\Uninstall.exe";
    PROCESS_INFORMATION pi = {};
    if (!StartProgram(exe, pi)) {
        Say("cannot start " + exe + "\n");
        return;
    }
    if (interactive) {
        Say("Uninstall.exe (installed with the add-on) runs on your display; use it or close it to go on.\n");
        WaitForSingleObject(pi.hProcess, INFINITE);
    } else {
        HWND dialog = nullptr;
        for (int i = 0; i < 1500 && !dialog; ++i) {
            dialog = FindProgramWindow(pi.dwProcessId, "Q-Ostrevo卸载");
            Sleep(10);
        }
        if (!dialog) {
            Say("the uninstall dialog did not appear\n");
            TerminateProcess(pi.hProcess, 1);
        } else {
            Sleep(500);
            Screenshot(shots + "\\4-uninstall.bmp");
            Say("Screenshot of the uninstall dialog taken; clicking \"卸  载\".\n");
            MessageBoxAnswerer boxes([&](const std::string& caption, const std::string& text) {
                Sleep(300);
                Screenshot(shots + "\\5-uninstall-message.bmp");
                Say("Message box [" + caption + "]: " + text + "\n");
                return IDOK;
            });
            boxes.WatchAllProcesses();
            PostMessageA(GetDlgItem(dialog, IDC_UNINSTALL), BM_CLICK, 0, 0);
            WaitForSingleObject(pi.hProcess, 30000);
            WaitForProcessesNamed("Uninstall.exe", 30000);  // the temporary copy
        }
    }
    WaitForProcessesNamed("Uninstall.exe", INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

} // namespace

// The product's line in Settings -> Apps, as Windows would list it.
std::string AppsAndFeatures()
{
    const char* key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo";
    const std::string name = Reg::GetString(Reg::kMachine, key, "DisplayName");
    const std::string version = Reg::GetString(Reg::kMachine, key, "DisplayVersion");
    if (name == "<absent>")
        return "Apps & Features: no entry for Q-Ostrevo.\n";
    return std::string("Apps & Features lists: ") + name + "  " + version + "\n";
}

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const std::string dist = argv[1], shots = argv[2];
    const bool interactive = std::strcmp(argv[3], "interactive") == 0;

    Say("Simulated machine: AutoCAD 2008, 2010, 2016 (two products) and 2018 registered; profiles with trusted paths.\n");
    MachineFixture machine(FixturesDir(), false);

    const std::string exe = dist + "\\SetUp.exe";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dist.c_str(), &si, &pi)) {
        Say("cannot start " + exe + "\n");
        return 1;
    }
    if (interactive) {
        Say("SetUp.exe runs on your display; close it or install to go on.\n");
        WaitForSingleObject(pi.hProcess, INFINITE);
    } else {
        HWND dialog = nullptr;
        for (int i = 0; i < 1500 && !dialog; ++i) {
            dialog = FindSetupDialog(pi.dwProcessId);
            Sleep(10);
        }
        if (!dialog) {
            Say("the setup dialog did not appear\n");
            TerminateProcess(pi.hProcess, 1);
            return 1;
        }
        Sleep(500);
        Screenshot(shots + "\\1-dialog.bmp");
        Say("Screenshot of the dialog taken; clicking \"安  装\".\n");
        int shot = 2;
        MessageBoxAnswerer boxes([&](const std::string& caption, const std::string& text) {
            Sleep(300);
            Screenshot(shots + "\\" + std::to_string(shot++) + "-message.bmp");
            Say("Message box [" + caption + "]: " + text + "\n");
            return IDOK;
        });
        boxes.WatchProcess(pi.dwProcessId);
        PostMessageA(GetDlgItem(dialog, IDC_INSTALL), BM_CLICK, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
            Say("SetUp.exe did not finish\n");
            TerminateProcess(pi.hProcess, 1);
        }
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    Say("\nWhat the machine holds after the install:\n" + MachineFixture::Snapshot());
    Say(AppsAndFeatures());

    Say("\nNow the uninstall.\n");
    RunUninstall(shots, interactive);
    Say("\nWhat the machine holds after the uninstall:\n" + MachineFixture::Snapshot());
    Say(AppsAndFeatures());
    return 0;
}
