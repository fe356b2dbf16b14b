#include "tests/e2e/SetupProcess.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <cstring>

#include "tests/support/ProcessWindows.h"

void WaitForProcessesNamed(const char* prefix, DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 100) {
        bool running = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            running = running || _strnicmp(entry.szExeFile, prefix, strlen(prefix)) == 0;
        CloseHandle(snapshot);
        if (!running)
            return;
        Sleep(100);
    }
}

HWND FindProgramWindow(DWORD pid, const char* pszCaption)
{
    return FindVisibleWindow(pid, [pszCaption](HWND hWnd) {
        char caption[64] = {};
        GetWindowTextA(hWnd, caption, sizeof caption);
        return std::string(caption) == pszCaption;
    });
}

HWND FindSetupDialog(DWORD pid)
{
    return FindProgramWindow(pid, "Q-Ostrevo安装");
}

int RunToEnd(const std::string& commandLine, DWORD ms)
{
    std::string cmd = commandLine;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

FakeAcad::FakeAcad(const std::string& folder)
{
    const std::string sleeper = BuiltSetupExe().substr(0, BuiltSetupExe().rfind('\\')) + "\\tests\\sleeper.exe";
    const std::string acad = folder + "\\acad.exe";
    if (!CopyFileA(sleeper.c_str(), acad.c_str(), FALSE))
        return;
    std::string cmd = "\"" + acad + "\" 60000";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(acad.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        m_pi = {};
    Sleep(300);  // seen in the process list from now on
}

FakeAcad::~FakeAcad()
{
    End();
}

void FakeAcad::End()
{
    if (!m_pi.hProcess)
        return;
    TerminateProcess(m_pi.hProcess, 0);
    WaitForSingleObject(m_pi.hProcess, 5000);
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    m_pi = {};
}

std::string BuiltSetupExe()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path = self;
    path = path.substr(0, path.rfind('\\'));      // tests
    path = path.substr(0, path.rfind('\\'));      // build folder
    return path + "\\SetUp.exe";
}

std::string BesideSetup(const char* name)
{
    const std::string exe = BuiltSetupExe();
    return exe.substr(0, exe.rfind('\\') + 1) + name;
}

bool SetupProcess::MakeModulePayload() const
{
    Disk::MakeFolder(data());
    for (const char* f : {"Trabex2008.ARX", "Trabex2010.ARX", "Trabex2010_32.ARX", "Trabex2015.ARX", "Trabex_EN.shx",
                          "Trabex_HZ.shx", "Trabex.prt5"})
        Disk::WriteFile(data() + "\\" + f, f);
    return CopyFileA(BesideSetup("TrabexTrustedPath.exe").c_str(), (data() + "\\TrabexTrustedPath.exe").c_str(),
                     FALSE) != FALSE;
}

std::string Edition64SetupExe()
{
    return TRABEX_EDITION64_SETUP;
}

SetupProcess::SetupProcess(const std::string& exe)
{
    Disk::MakeFolder(dist());
    EXPECT_TRUE(CopyFileA(exe.c_str(), (dist() + "\\SetUp.exe").c_str(), FALSE)) << "no SetUp.exe at " << exe;
}

SetupProcess::~SetupProcess()
{
    if (m_pi.hProcess) {
        if (Running()) {
            TerminateProcess(m_pi.hProcess, 99);
            WaitForSingleObject(m_pi.hProcess, 5000);
        }
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
    }
}

bool SetupProcess::Start()
{
    const std::string exe = dist() + "\\SetUp.exe";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dist().c_str(),
                        &si, &m_pi))
        return false;
    for (int i = 0; i < 3000 && !m_hDialog && Running(); ++i) {
        m_hDialog = FindSetupDialog(m_pi.dwProcessId);
        if (!m_hDialog)
            Sleep(10);
    }
    Sleep(200);  // let it paint
    return m_hDialog != nullptr;
}

int SetupProcess::WaitForExit(int ms)
{
    if (WaitForSingleObject(m_pi.hProcess, static_cast<DWORD>(ms)) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return static_cast<int>(code);
}

bool SetupProcess::Running() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

void SetupProcess::Click(int id) const
{
    PostMessageA(Item(id), BM_CLICK, 0, 0);
}

void SetupProcess::SetText(int id, const std::string& text) const
{
    SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string SetupProcess::Text(int id) const
{
    char buf[1024] = {};
    SendMessageA(Item(id), WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

bool SetupProcess::Visible(int id) const
{
    return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool SetupProcess::Enabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}
