// Install with the real SetUp.exe, then take it off with the installed
// Uninstall.exe, as a user would, and compare the machine with before.
#include <gtest/gtest.h>

#include <windows.h>

#include "res/Texts.h"
#include "res/resource.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/RegistryLinks.h"

namespace {

const char kInstalled[] = "C:\\Trabex\\Q-Ostrevo";
const char kUninstaller[] = "C:\\Trabex\\Q-Ostrevo\\Uninstall.exe";
const std::string kAcad = "SOFTWARE\\Autodesk\\AutoCAD";
const std::string kProduct2008 = kAcad + "\\R17.1\\ACAD-6001:804";

std::string Beside(const std::string& exe, const char* name)
{
    return exe.substr(0, exe.rfind('\\') + 1) + name;
}

std::string UserTrustedPaths(const std::string& variables)
{
    return Reg::GetString(Reg::kUser, kAcad + "\\" + variables, "TRUSTEDPATHS");
}

// The installed Uninstall.exe, started and driven by its dialog.
class Uninstaller {
public:
    ~Uninstaller()
    {
        if (m_pi.hProcess) {
            if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_pi.hProcess, 99);
            CloseHandle(m_pi.hProcess);
            CloseHandle(m_pi.hThread);
        }
    }
    // Starts it; true when it shows its dialog.
    bool Start()
    {
        std::string cmd = std::string("\"") + kUninstaller + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (!CreateProcessA(kUninstaller, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
            return false;
        for (int i = 0; i < 1000 && !m_dialog && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; ++i) {
            m_dialog = FindProgramWindow(m_pi.dwProcessId, "Q-Ostrevo卸载");
            Sleep(10);
        }
        return m_dialog != nullptr;
    }
    void ClickUninstall() const { PostMessageA(GetDlgItem(m_dialog, IDC_UNINSTALL), BM_CLICK, 0, 0); }
    bool Running() const { return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD ms = 20000) const { return WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }
    std::string Plan() const
    {
        // WM_GETTEXT: GetWindowText does not read another process's controls.
        char buf[4096] = {};
        SendMessageA(GetDlgItem(m_dialog, IDC_UNINSTALL_PLAN), WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
        return buf;
    }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_dialog = nullptr;
};

class Uninstall : public ::testing::Test {
protected:
    Uninstall() : machine(FixturesDir()) {}
    // The temporary copy holds the one-run name until it ends: the next test's
    // setup must not meet it.
    ~Uninstall() override { WaitForProcessesNamed("Uninstall.exe", 20000); }

    // Installs into C:\Trabex\Q-Ostrevo with the real setup; the payload carries Uninstall.exe.
    void InstallWithSetup()
    {
        Disk::MakeFolder(setup.data());
        for (const char* f : {"Trabex2008.ARX", "Trabex2010.ARX", "Trabex2015.ARX", "Trabex_EN.shx",
                              "Trabex_HZ.shx", "Trabex.prt5"})
            Disk::WriteFile(setup.data() + "\\" + f, f);
        Disk::MakeFolder(setup.data() + "\\Trabex扩展绘图库");
        Disk::WriteFile(setup.data() + "\\Trabex扩展绘图库\\门窗.dwg", "dwg");
        for (const char* program : {"Uninstall.exe", "TrabexTrustedPath.exe"})
            ASSERT_TRUE(CopyFileA(Beside(BuiltSetupExe(), program).c_str(), (setup.data() + "\\" + program).c_str(),
                                  FALSE));
        MessageBoxAnswerer boxes;
        ASSERT_TRUE(setup.Start());
        boxes.WatchProcess(setup.Pid());
        setup.Click(IDC_INSTALL);
        ASSERT_EQ(0, setup.WaitForExit());
        ASSERT_EQ(2u, boxes.Count()) << "installed completely";
        ASSERT_TRUE(Disk::IsFile(kUninstaller));
    }

    // Waits until n boxes of any process have been answered.
    static void WaitForBoxes(const MessageBoxAnswerer& boxes, size_t n, int ms = 20000)
    {
        for (int waited = 0; boxes.Count() < n && waited < ms; waited += 20)
            Sleep(20);
        Sleep(300);  // the answered program goes on and ends
    }

    MachineFixture machine;
    SetupProcess setup;
};

} // namespace

TEST_F(Uninstall, TakesOffExactlyWhatTheSetupPutOn)
{
    // Registrations of other installations (of AutoCAD 2010: one of 2008 would keep
    // AutoCAD 2008's driver in place), which must stay, with their modules.
    const std::string product2010 = kAcad + "\\R18.0\\ACAD-8001:804";
    struct RemoveOther {
        ~RemoveOther() { Disk::RemoveTree("C:\\Other"); }
    } removeOther;
    for (const char* module : {"C:\\Other\\Q-Ostrevo\\Trabex2009.ARX", "C:\\Other\\Q-Ostrevo2\\Trabex2010.ARX"}) {
        const std::string path = module;
        Disk::MakeFolder("C:\\Other");
        Disk::MakeFolder(path.substr(0, path.rfind('\\')));
        Disk::WriteFile(path, "another installation's");
    }
    Reg::SetString(Reg::kMachine, product2010 + "\\Applications\\Trabex2009", "LOADER", "C:\\Other\\Q-Ostrevo\\Trabex2009.ARX");
    Reg::SetString(Reg::kMachine, product2010 + "\\Applications\\Trabex2007", "LOADER", "C:\\Other\\Q-Ostrevo2\\Trabex2010.ARX");
    const std::string machineBefore = MachineFixture::Dump(Reg::kMachine, kAcad);
    InstallWithSetup();
    ASSERT_NE(machineBefore, MachineFixture::Dump(Reg::kMachine, kAcad));

    MessageBoxAnswerer boxes;
    boxes.WatchAllProcesses();
    Uninstaller uninstaller;
    ASSERT_TRUE(uninstaller.Start());
    const std::string plan = uninstaller.Plan();
    EXPECT_NE(std::string::npos, plan.find("AutoCAD 2008  " + kProduct2008 + "\\Applications\\Trabex2008"));
    EXPECT_EQ(std::string::npos, plan.find("Trabex2009")) << "a registration of another folder";
    EXPECT_NE(std::string::npos, plan.find("C:\\Program Files\\AutoCAD 2008\\Drv"));
    uninstaller.ClickUninstall();
    EXPECT_TRUE(uninstaller.WaitForExit());
    WaitForBoxes(boxes, 1);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Texts::kUninstallDone, boxes.Seen()[0].text);
    EXPECT_EQ(Texts::kCaptionUninstallDone, boxes.Seen()[0].caption);

    // HKEY_LOCAL_MACHINE's AutoCAD tree is as before the install, other folders' registrations included.
    EXPECT_EQ(machineBefore, MachineFixture::Dump(Reg::kMachine, kAcad));
    // Every profile holds the entries it held before (upper-cased where the install
    // upper-cased them); the folder's own entry is gone, also where it was before.
    EXPECT_EQ("C:\\TOOLS\\LISP", UserTrustedPaths("R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables"));
    EXPECT_EQ("", UserTrustedPaths("R18.0\\ACAD-8001:804\\Profiles\\<<未命名配置>>\\Variables"));
    EXPECT_EQ("", UserTrustedPaths("R18.0\\ACAD-8001:804\\Profiles\\Drafting\\Variables"));
    EXPECT_EQ("D:\\COMPANY\\BLOCKS\\...;C:\\TRABEX\\Q-OSTREVO2",
              UserTrustedPaths("R20.1\\ACAD-F001:804\\Profiles\\<<未命名配置>>\\Variables"));
    EXPECT_EQ("", UserTrustedPaths("R20.1\\ACAD-F004:804\\Profiles\\<<未命名配置>>\\Variables"));
    // AutoCAD 2008's own driver is back; the fonts stay; the install folder and its empty parent are gone.
    EXPECT_EQ("AutoCAD's own PDF plot driver\n", Disk::ReadFile("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi"));
    EXPECT_FALSE(Disk::IsFile("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi.bak"));
    EXPECT_TRUE(Disk::IsFile("C:\\Program Files\\AutoCAD 2008\\Fonts\\Trabex_EN.shx"));
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex"));

    // A second run finds nothing and says so (once the first one's copy has ended).
    WaitForProcessesNamed("Uninstall.exe", 20000);
    Disk::MakeFolder("C:\\Trabex");
    Disk::MakeFolder(kInstalled);
    ASSERT_TRUE(CopyFileA(Beside(BuiltSetupExe(), "Uninstall.exe").c_str(), kUninstaller, FALSE));
    Uninstaller again;
    EXPECT_FALSE(again.Start()) << "no dialog when there is nothing to remove";
    WaitForBoxes(boxes, 2);
    ASSERT_EQ(2u, boxes.Count());
    char nothing[512];
    snprintf(nothing, sizeof nothing, Texts::kUninstallNothingFormat, kInstalled);
    EXPECT_EQ(nothing, boxes.Seen()[1].text);
    EXPECT_TRUE(again.WaitForExit());
    EXPECT_TRUE(Disk::IsFile(kUninstaller));
    EXPECT_EQ(machineBefore, MachineFixture::Dump(Reg::kMachine, kAcad));
}

TEST_F(Uninstall, RefusesWhileAutoCadRunsAndListsWhatItCouldNotRemove)
{
    InstallWithSetup();
    FakeAcad acad(setup.root.Path());
    ASSERT_TRUE(acad.Started());

    MessageBoxAnswerer boxes;
    boxes.WatchAllProcesses();
    Uninstaller uninstaller;
    ASSERT_TRUE(uninstaller.Start());
    for (size_t n = 1; n <= 2; ++n) {  // refused at every click, not once only
        uninstaller.ClickUninstall();
        WaitForBoxes(boxes, n);
        ASSERT_EQ(n, boxes.Count());
        EXPECT_EQ(Texts::kUninstallCloseAcad, boxes.Seen()[n - 1].text);
    }
    EXPECT_TRUE(uninstaller.Running());
    EXPECT_TRUE(Disk::IsFile("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX"));
    acad.End();

    // A file another program holds open stays, and the final message says so.
    HANDLE lock = CreateFileA("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    uninstaller.ClickUninstall();
    EXPECT_TRUE(uninstaller.WaitForExit());
    WaitForBoxes(boxes, 3);
    CloseHandle(lock);
    ASSERT_EQ(3u, boxes.Count());
    const std::string last = boxes.Seen()[2].text;
    EXPECT_EQ(Texts::kCaptionUninstall, boxes.Seen()[2].caption);
    EXPECT_NE(std::string::npos, last.find("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX\n")) << last;
    EXPECT_NE(std::string::npos, last.find("C:\\Trabex\\Q-Ostrevo\n")) << last;
    EXPECT_EQ(std::string::npos, last.find(Texts::kUninstallDone));
    // The list keeps what is left, and the uninstaller stays, for the next attempt.
    EXPECT_EQ((std::vector<std::string>{"InstalledFiles.lst", "Trabex2010.ARX", "Uninstall.exe"}), Disk::List(kInstalled));
    // Everything else is gone.
    HKEY h = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kProduct2008 + "\\Applications\\Trabex2008").c_str(),
                                           0, KEY_READ | Reg::kOwnView, &h));
}

// What a deployment tool runs: the entry's QuietUninstallString, and its exit code.
TEST_F(Uninstall, SilentRemovalThroughTheAppsAndFeaturesEntry)
{
    // Another folder's registration whose module is gone (AutoCAD 2018, which the
    // 32-bit setup leaves alone): a note of the removal, never its failure.
    Reg::SetString(Reg::kMachine, kAcad + "\\R22.0\\ACAD-1001:804\\Applications\\Trabex2018", "LOADER",
              "D:\\Gone\\Q-Ostrevo\\Trabex2018.ARX");
    const std::string machineBefore = MachineFixture::Dump(Reg::kMachine, kAcad);
    InstallWithSetup();
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo";
    const std::string quiet = Reg::GetString(Reg::kMachine, entry, "QuietUninstallString");
    ASSERT_EQ(std::string("\"") + kUninstaller + "\" /S", quiet);
    // What AutoCAD adds below a registration once the module has loaded, and a
    // link in there whose target must survive.
    const std::string registration = kProduct2008 + "\\Applications\\Trabex2008";
    Reg::SetString(Reg::kMachine, registration + "\\Commands", "TRABEXMENU", "TRABEXMENU");
    Reg::SetString(Reg::kMachine, registration + "\\Groups", "TRABEX", "TRABEX");
    ASSERT_TRUE(CreateLink(registration + "\\Groups", "Elsewhere", kProduct2008));

    MessageBoxAnswerer boxes;
    boxes.WatchAllProcesses();
    {
        FakeAcad acad(setup.root.Path());
        ASSERT_TRUE(acad.Started());
        EXPECT_EQ(1618, RunToEnd(quiet)) << "AutoCAD is running: busy, for a deployment tool to try again";
        EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX", Reg::GetString(Reg::kMachine, registration, "LOADER")) << "nothing removed";
    }
    EXPECT_EQ(0, RunToEnd(quiet)) << "the removal's own result, whatever other folders left";
    EXPECT_EQ(0u, boxes.Count()) << "no window at all";
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, entry, "DisplayName"));
    EXPECT_EQ(machineBefore, MachineFixture::Dump(Reg::kMachine, kAcad));
    EXPECT_EQ("C:\\TOOLS\\LISP", UserTrustedPaths("R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables"));
    EXPECT_EQ("AutoCAD's own PDF plot driver\n", Disk::ReadFile("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi"));
    // The program's own file and the folders go once it has ended.
    for (int waited = 0; Disk::IsFolder("C:\\Trabex") && waited < 20000; waited += 50)
        Sleep(50);
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex"));
}

// A deployment tool's time-out or a power cut in the middle of the copy: the
// uninstaller run afterwards takes off every file the setup placed, and nothing
// of the machine's is changed.
TEST_F(Uninstall, AfterASetupKilledInTheMiddleOfTheCopyNothingOfOursIsLeft)
{
    const std::string machineBefore = MachineFixture::Dump(Reg::kMachine, kAcad);
    Disk::MakeFolder(setup.data());
    for (const char* f : {"Trabex2010.ARX", "Trabex_EN.shx", "Trabex_HZ.shx", "Trabex.prt5"})
        Disk::WriteFile(setup.data() + "\\" + f, f);
    const std::string big(3 * 1024 * 1024, 'm');
    for (int i = 0; i < 40; ++i)
        Disk::WriteFile(setup.data() + "\\module" + std::to_string(100 + i) + ".dat", big);
    ASSERT_TRUE(CopyFileA(Beside(BuiltSetupExe(), "Uninstall.exe").c_str(),
                          (setup.data() + "\\Uninstall.exe").c_str(), FALSE));

    std::string command = "\"" + setup.dist() + "\\SetUp.exe\" /S";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    // Killed once a few of the large files are in place, the copy still going on.
    for (int waited = 0; !Disk::IsFile("C:\\Trabex\\Q-Ostrevo\\module103.dat") && waited < 30000; waited += 5)
        Sleep(5);
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(Disk::IsFile(kUninstaller)) << "the uninstaller is placed first";
    ASSERT_FALSE(Disk::IsFile("C:\\Trabex\\Q-Ostrevo\\module139.dat")) << "killed before the copy ended";

    MessageBoxAnswerer boxes;
    boxes.WatchAllProcesses();
    EXPECT_EQ(0, RunToEnd(std::string("\"") + kUninstaller + "\" /S"));
    for (int waited = 0; Disk::IsFolder("C:\\Trabex") && waited < 20000; waited += 50)
        Sleep(50);
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex")) << "every file the setup placed, and its folders";
    EXPECT_EQ(machineBefore, MachineFixture::Dump(Reg::kMachine, kAcad));
    EXPECT_EQ("D:\\Company\\Blocks\\...;c:\\trabex\\q-ostrevo2",
              UserTrustedPaths("R20.1\\ACAD-F001:804\\Profiles\\<<未命名配置>>\\Variables"));
    EXPECT_EQ(0u, boxes.Count());
}

namespace {

// The first byte of a file, or 0 when it cannot be read.
char FirstByte(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    const int c = fgetc(f);
    fclose(f);
    return c == EOF ? 0 : static_cast<char>(c);
}

} // namespace

// A kill in the middle of a re-install over an installed version: every file
// under its name is whole, the old version's or the new one's, never half of
// one; the uninstaller then takes off everything of ours.
TEST_F(Uninstall, AKillDuringAReinstallLeavesEveryFileWholeOldOrNew)
{
    Disk::MakeFolder(setup.data());
    for (const char* f : {"Trabex2010.ARX", "Trabex_EN.shx", "Trabex_HZ.shx", "Trabex.prt5"})
        Disk::WriteFile(setup.data() + "\\" + f, f);
    for (const char* program : {"Uninstall.exe", "TrabexTrustedPath.exe"})
        ASSERT_TRUE(CopyFileA(Beside(BuiltSetupExe(), program).c_str(), (setup.data() + "\\" + program).c_str(), FALSE));
    const size_t size = 3 * 1024 * 1024;
    auto payload = [&](char fill) {
        for (int i = 0; i < 40; ++i)
            Disk::WriteFile(setup.data() + "\\module" + std::to_string(100 + i) + ".dat", std::string(size, fill));
    };
    payload('o');
    const std::string command = "\"" + setup.dist() + "\\SetUp.exe\" /S";
    ASSERT_EQ(0, RunToEnd(command));
    payload('n');

    std::string line = command;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    // Killed once a few of the new files are in place, the copy still going on.
    for (int waited = 0; FirstByte("C:\\Trabex\\Q-Ostrevo\\module103.dat") != 'n' && waited < 30000; waited += 5)
        Sleep(5);
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    int fresh = 0;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "C:\\Trabex\\Q-Ostrevo\\module" + std::to_string(100 + i) + ".dat";
        const std::string content = Disk::ReadFile(name);
        const bool whole = content == std::string(size, 'o') || content == std::string(size, 'n');
        EXPECT_TRUE(whole) << name << ": " << content.size() << " bytes";
        fresh += content[0] == 'n';
    }
    EXPECT_GT(fresh, 0);
    EXPECT_LT(fresh, 40) << "killed before the copy ended";

    EXPECT_EQ(0, RunToEnd(std::string("\"") + kUninstaller + "\" /S"));
    for (int waited = 0; Disk::IsFolder("C:\\Trabex") && waited < 20000; waited += 50)
        Sleep(50);
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex")) << "every file the setup placed, what it left beside them, its folders";
}
