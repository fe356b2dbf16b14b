// The real SetUp.exe, started from a distribution folder of the test's own, and
// driven from outside as a user would: by its windows, buttons and message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"

// The 64-bit AutoCAD edition's SetUp.exe (an x86_64 program), or "" when not built.
std::string Edition64SetupExe();

// Where this build's SetUp.exe lies (beside the tests folder).
std::string BuiltSetupExe();
// A file beside this build's SetUp.exe (its other programs).
std::string BesideSetup(const char* name);

class SetupProcess {
public:
    // Lays out Dist\SetUp.exe (a copy of exe, by default this build's program);
    // Data is the test's to fill.
    explicit SetupProcess(const std::string& exe = BuiltSetupExe());
    ~SetupProcess();

    std::string dist() const { return root / "Dist"; }
    std::string data() const { return root / "Dist\\Data"; }
    // Fills Data with the tests' modules, fonts and plot driver (each file holds
    // its name) and this build's per-user program; false when it cannot.
    bool MakeModulePayload() const;

    // Starts the program and waits for its dialog; false when none appears.
    bool Start();
    // Waits for the program to end; its exit code, or -1 on time-out.
    int WaitForExit(int ms = 20000);
    bool Running() const;

    HWND Dialog() const { return m_hDialog; }
    HWND Item(int id) const { return GetDlgItem(m_hDialog, id); }
    DWORD Pid() const { return m_pi.dwProcessId; }
    // Presses a button of the dialog (BM_CLICK), without waiting for what follows.
    void Click(int id) const;
    void SetText(int id, const std::string& text) const;
    std::string Text(int id) const;
    bool Visible(int id) const;
    bool Enabled(int id) const;

    TempFolder root;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hDialog = nullptr;
};

// Runs a command line (the program named first, quoted) to its end: its exit
// code, or -1 when it cannot start or does not end within ms.
int RunToEnd(const std::string& commandLine, DWORD ms = 60000);

// Waits (up to ms) until no process with an image name starting with prefix runs:
// the uninstaller's temporary copy, which holds the one-run name until it ends.
void WaitForProcessesNamed(const char* prefix, DWORD ms);

// The visible top-level window of process pid with this caption, or NULL.
HWND FindProgramWindow(DWORD pid, const char* pszCaption);
// The visible setup dialog of process pid, or NULL.
HWND FindSetupDialog(DWORD pid);

// A running process whose image name is acad.exe (a copy of the tests' sleeper
// in folder), ended when the object goes.
class FakeAcad {
public:
    explicit FakeAcad(const std::string& folder);
    ~FakeAcad();
    bool Started() const { return m_pi.hProcess != nullptr; }
    void End();

private:
    PROCESS_INFORMATION m_pi = {};
};
