// The whole installation through the real SetUp.exe, as a user would run it.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <cstdio>

#include "res/Texts.h"
#include "res/resource.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProcessWindows.h"

namespace {

const std::string kProduct2008 = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804";
const std::string kProduct2016 = "SOFTWARE\\Autodesk\\AutoCAD\\R20.1\\ACAD-F001:804";
const std::string kProduct2010 = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804";
const std::string kProfile2008 =
    "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables";


// The picker's folder browser (the shell dialog with our edit box) of process pid.
HWND FindFolderBrowser(DWORD pid)
{
    return FindVisibleWindow(pid, [](HWND h) { return GetDlgItem(h, 14148) != nullptr; });
}

// The machine, a distribution folder with the sample payload, and the program.
class Install : public ::testing::Test {
protected:
    Install() : machine(FixturesDir()) {}
    Install(MachineFixture::Layout layout, const std::string& exe)
        : machine(FixturesDir(), true, layout), setup(exe) {}

    void MakePayload()
    {
        ASSERT_TRUE(setup.MakeModulePayload());
        Disk::MakeFolder(setup.data() + "\\Trabex扩展绘图库");
        Disk::WriteFile(setup.data() + "\\Trabex扩展绘图库\\门窗.dwg", "dwg");
    }

    // Starts the program and has the boxes answered (default: OK / Yes / Ignore).
    void Start()
    {
        ASSERT_TRUE(setup.Start()) << "no dialog";
        boxes.WatchProcess(setup.Pid());
    }

    // Waits until n boxes have been seen (or the program ended).
    void WaitForBoxes(size_t n, int ms = 15000)
    {
        for (int waited = 0; boxes.Count() < n && waited < ms; waited += 20)
            Sleep(20);
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> t;
        for (const SeenBox& b : boxes.Seen())
            t.push_back(b.text);
        return t;
    }

    MachineFixture machine;
    SetupProcess setup;
    MessageBoxAnswerer boxes;
};

const std::string kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo";

DWORD RegDword(const Reg::Place& at, const std::string& path, const char* name)
{
    const std::pair<DWORD, std::string> raw = Reg::GetRaw(at, path, name);
    DWORD value = 0xFFFFFFFF;
    if (raw.first == REG_DWORD && raw.second.size() == sizeof value)
        memcpy(&value, raw.second.data(), sizeof value);
    return value;
}

// The bytes of every file below folder but the setup's own list.
unsigned long long PlacedBytes(const std::string& folder)
{
    unsigned long long bytes = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found)) {
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || name == "InstalledFiles.lst")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            bytes += PlacedBytes(folder + "\\" + name);
        else
            bytes += found.nFileSizeLow;
    }
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    return bytes;
}

// "<missing>" when absent; else the file's bytes.
std::string LogText(const std::string& path)
{
    return Disk::ReadFile(path);
}

// A line of the log: the program's GBK text as the log's UTF-8, on one line.
bool LogHas(const std::string& log, std::string gbk)
{
    for (char& c : gbk)
        if (c == '\n')
            c = ' ';
    return log.find(ToUtf8(gbk)) != std::string::npos;
}

} // namespace

TEST_F(Install, DefaultFolderInstallsEverything)
{
    MakePayload();
    Start();
    EXPECT_TRUE(setup.Enabled(IDC_INSTALL));
    EXPECT_EQ("C:\\Trabex", setup.Text(IDC_INSTALL_PATH));
    setup.Click(IDC_INSTALL);
    ASSERT_EQ(0, setup.WaitForExit()) << "the program ends after the messages";
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(Texts::kInstallDone, boxes.Seen()[0].text);
    EXPECT_EQ(Texts::kCaptionDone, boxes.Seen()[0].caption);
    EXPECT_EQ(Texts::kImportOldSettings, boxes.Seen()[1].text);

    // Payload (without the fonts) and library in the install folder.
    // ... and the list of what the setup placed, for the uninstaller.
    EXPECT_EQ((std::vector<std::string>{"InstalledFiles.lst", "Trabex.prt5", "Trabex2008.ARX", "Trabex2010.ARX",
                                        "Trabex2010_32.ARX", "Trabex2015.ARX", "TrabexTrustedPath.exe",
                                        "Trabex扩展绘图库"}),
              Disk::List("C:\\Trabex\\Q-Ostrevo"));
    EXPECT_TRUE(Disk::IsFile("C:\\Trabex\\Q-Ostrevo\\Trabex扩展绘图库\\门窗.dwg"));
    // Registration per ticked release and product; 2018 withheld by the 32-bit setup.
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX",
              Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2015.ARX",
              Reg::GetString(Reg::kMachine, kProduct2016 + "\\Applications\\Trabex2016", "LOADER"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2015.ARX",
              Reg::GetString(Reg::kMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R20.1\\ACAD-F004:804\\Applications\\Trabex2016", "LOADER"));
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine,
                                    "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\Applications\\Trabex2018", "LOADER"));
    // Trusted paths in every profile.
    EXPECT_EQ("C:\\TOOLS\\LISP;C:\\TRABEX\\Q-OSTREVO", Reg::GetString(Reg::kUser, kProfile2008, "TRUSTEDPATHS"));
    EXPECT_EQ("D:\\COMPANY\\BLOCKS\\...;C:\\TRABEX\\Q-OSTREVO2;C:\\TRABEX\\Q-OSTREVO",
              Reg::GetString(Reg::kUser,
                        "SOFTWARE\\Autodesk\\AutoCAD\\R20.1\\ACAD-F001:804\\Profiles\\<<未命名配置>>\\Variables",
                        "TRUSTEDPATHS"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo",
              Reg::GetString(Reg::kUser,
                        "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\Drafting\\Variables",
                        "TRUSTEDPATHS"));
    // Fonts for every ticked installation; the plot driver for 2008 only.
    EXPECT_EQ("Trabex_EN.shx", Disk::ReadFile("C:\\Program Files\\AutoCAD 2010\\Fonts\\Trabex_EN.shx"));
    EXPECT_EQ("Trabex_HZ.shx", Disk::ReadFile("C:\\Program Files\\Autodesk\\AutoCAD Mechanical 2016\\Fonts\\Trabex_HZ.shx"));
    EXPECT_FALSE(Disk::IsFile("C:\\Program Files\\Autodesk\\AutoCAD 2018\\Fonts\\Trabex_EN.shx"));
    EXPECT_EQ("Trabex.prt5", Disk::ReadFile("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi"));
    EXPECT_EQ("AutoCAD's own PDF plot driver\n",
              Disk::ReadFile("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi.bak"));
    EXPECT_EQ("AutoCAD's own PDF plot driver\n",
              Disk::ReadFile("C:\\Program Files\\AutoCAD 2010\\Drv\\pdfplot9.hdi"));
}

TEST_F(Install, FolderTypedWithATrailingBackslash)
{
    MakePayload();
    Disk::MakeFolder("C:\\Trabex");
    Start();
    setup.SetText(IDC_INSTALL_PATH, "C:\\Trabex\\Tools\\");
    setup.Click(IDC_INSTALL);
    ASSERT_EQ(0, setup.WaitForExit());
    EXPECT_TRUE(Disk::IsFile("C:\\Trabex\\Tools\\Q-Ostrevo\\Trabex2010.ARX"));
    EXPECT_EQ("C:\\Trabex\\Tools\\Q-Ostrevo\\Trabex2010.ARX",
              Reg::GetString(Reg::kMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Applications\\Trabex2010", "LOADER"));
}

TEST_F(Install, RunningAutoCadWarnsOnceThenInstalls)
{
    MakePayload();
    FakeAcad acad(setup.root.Path());
    ASSERT_TRUE(acad.Started());

    Start();
    setup.Click(IDC_INSTALL);
    WaitForBoxes(1);
    Sleep(300);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Texts::kCloseAcad, boxes.Seen()[0].text);
    EXPECT_EQ(Texts::kCaptionSetup, boxes.Seen()[0].caption);
    EXPECT_TRUE(setup.Running());
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex\\Q-Ostrevo"));
    EXPECT_TRUE(setup.Visible(IDC_INSTALL_PATH));

    setup.Click(IDC_INSTALL);  // AutoCAD still runs: the check is disarmed
    EXPECT_EQ(0, setup.WaitForExit());
    EXPECT_EQ(3u, boxes.Count());
    EXPECT_TRUE(Disk::IsFile("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX"));
}

TEST_F(Install, AbortAfterAFailedCopyLeavesTheRegistryAlone)
{
    MakePayload();
    Disk::MakeFolder("C:\\Trabex");
    Disk::MakeFolder("C:\\Trabex\\Q-Ostrevo");
    HANDLE lock = CreateFileA("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX", GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    const std::string before = MachineFixture::Snapshot();
    MessageBoxAnswerer abort(std::vector<int>{IDABORT});
    ASSERT_TRUE(setup.Start());
    abort.WatchProcess(setup.Pid());
    setup.Click(IDC_INSTALL);
    EXPECT_EQ(7, setup.WaitForExit());  // ended as aborted: no completion message
    CloseHandle(lock);
    ASSERT_EQ(1u, abort.Count());
    char expected[512];
    std::snprintf(expected, sizeof expected, Texts::kCopyFailedFormat, "C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX");
    EXPECT_EQ(expected, abort.Seen()[0].text);
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
    EXPECT_EQ("c:\\tools\\lisp", Reg::GetString(Reg::kUser, kProfile2008, "TRUSTEDPATHS"));
    EXPECT_TRUE(Disk::IsFile("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX"));  // copied before the stop
    EXPECT_FALSE(Disk::IsFile("C:\\Program Files\\AutoCAD 2010\\Fonts\\Trabex_EN.shx"));
}

TEST_F(Install, MissingPayloadIsReportedAndNothingInstalled)
{
    Start();
    setup.Click(IDC_INSTALL);
    EXPECT_EQ(6, setup.WaitForExit());  // ended without a completion message
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Texts::kPayloadMissing, boxes.Seen()[0].text);
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
}

TEST_F(Install, NoAutoCadFoundLeavesInstallDisabled)
{
    machine.Clean();
    MakePayload();
    Start();
    EXPECT_FALSE(setup.Enabled(IDC_INSTALL));
    for (int id : {IDC_ACAD2008, IDC_ACAD2010, IDC_ACAD2016})
        EXPECT_FALSE(setup.Enabled(id));
}

TEST_F(Install, RefusedFoldersCreateNothing)
{
    MakePayload();
    Start();
    // Too long even for a path buffer: the too-long message, not "invalid".
    const std::string tooLong = "C:\\" + std::string(252, 'x');
    const char* const folders[] = {"", "Trabex", "\\\\server\\share", "C:\\a|b", "C:\\a\\\\b"};
    size_t seen = 0;
    auto tryFolder = [&](const std::string& folder) {
        setup.SetText(IDC_INSTALL_PATH, folder);
        setup.Click(IDC_INSTALL);
        WaitForBoxes(++seen);
        Sleep(200);  // the answered box closes before the next try
    };
    for (const char* folder : folders)
        tryFolder(folder);
    tryFolder(tooLong);
    const std::vector<std::string> texts = Texts();
    ASSERT_EQ(6u, texts.size());
    EXPECT_EQ(Texts::kFolderEmpty, texts[0]);
    char expected[1024];
    std::snprintf(expected, sizeof expected, Texts::kFolderInvalidFormat, "Trabex");
    EXPECT_EQ(expected, texts[1]);
    std::snprintf(expected, sizeof expected, Texts::kFolderInvalidFormat, "\\\\server\\share");
    EXPECT_EQ(expected, texts[2]);
    char tooLongText[1024];
    std::snprintf(tooLongText, sizeof tooLongText, Texts::kFolderTooLongFormat, tooLong.c_str(), 0);
    const std::string tooLongHead(tooLongText, strstr(tooLongText, "0") - tooLongText);
    EXPECT_EQ(0u, texts[5].find(tooLongHead)) << texts[5];
    for (const SeenBox& b : boxes.Seen())
        EXPECT_EQ(Texts::kCaptionSetup, b.caption);
    EXPECT_TRUE(setup.Running());
    EXPECT_FALSE(Disk::IsFolder(tooLong));
    EXPECT_FALSE(Disk::IsFolder("C:\\a"));
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
}

TEST_F(Install, BrowseCreatesATypedFolderAndShowsIt)
{
    MakePayload();
    Disk::MakeFolder("C:\\Trabex");
    Start();
    setup.Click(IDC_BROWSE);
    // The folder browser of the setup process.
    HWND browser = nullptr;
    for (int i = 0; i < 500 && !browser; ++i) {
        browser = FindFolderBrowser(setup.Pid());
        Sleep(20);
    }
    ASSERT_NE(nullptr, browser);
    char caption[64] = {};
    GetWindowTextA(browser, caption, sizeof caption);
    EXPECT_STREQ(Texts::kBrowseCaption, caption);
    Sleep(300);
    const std::string typed = "C:\\Trabex\\新建\\Q";
    SendMessageA(GetDlgItem(browser, 14148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // answered Yes
    for (int i = 0; i < 300 && IsWindow(browser); ++i)
        Sleep(20);
    Sleep(300);
    EXPECT_FALSE(IsWindow(browser));
    EXPECT_EQ(typed, setup.Text(IDC_INSTALL_PATH));
    EXPECT_TRUE(Disk::IsFolder(typed));
    EXPECT_TRUE(setup.Enabled(IDC_INSTALL));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_NE(std::string::npos, boxes.Seen()[0].text.find("does not exist"));
}

namespace {

// Sets a key's DACL from SDDL text; true when done.
bool SetKeyDacl(const std::string& path, const char* sddl)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, WRITE_DAC | Reg::kOwnView, &h) != ERROR_SUCCESS)
        return false;
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr) &&
              RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    LocalFree(sd);
    RegCloseKey(h);
    return ok;
}

// A key that everybody may read and nobody may write while the object lives.
class ReadOnlyKey {
public:
    explicit ReadOnlyKey(const std::string& path) : m_path(path)
    {
        EXPECT_TRUE(SetKeyDacl(m_path, "D:P(A;;KR;;;WD)"));
    }
    ~ReadOnlyKey() { SetKeyDacl(m_path, "D:P(A;;KA;;;WD)"); }
    // Whether this Wine refuses the write access now (not every version checks).
    bool Enforced() const
    {
        HKEY probe = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_CREATE_SUB_KEY | Reg::kOwnView, &probe) != ERROR_SUCCESS)
            return true;
        RegCloseKey(probe);
        return false;
    }

private:
    std::string m_path;
};

} // namespace

TEST_F(Install, WithoutTheRightsToRegisterNothingIsInstalled)
{
    MakePayload();
    // What a user without administrator rights meets: AutoCAD's key may be read, not written.
    const ReadOnlyKey readOnly(kProduct2016);
    if (!readOnly.Enforced())
        GTEST_SKIP() << "this Wine does not enforce registry key security";
    const std::string before = MachineFixture::Snapshot();
    Start();
    setup.Click(IDC_INSTALL);
    WaitForBoxes(1);
    Sleep(300);
    ASSERT_EQ(1u, boxes.Count());
    char expected[1024];
    std::snprintf(expected, sizeof expected, Texts::kNeedAdminFormat, ("HKEY_LOCAL_MACHINE\\" + kProduct2016 + "\\").c_str());
    EXPECT_EQ(expected, boxes.Seen()[0].text);
    EXPECT_EQ(Texts::kCaptionSetup, boxes.Seen()[0].caption);
    EXPECT_TRUE(setup.Running()) << "the dialog stays";
    EXPECT_TRUE(setup.Visible(IDC_INSTALL_PATH));
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex"));
    EXPECT_EQ(before, MachineFixture::Snapshot());
}

TEST_F(Install, WhatCouldNotBeWrittenIsNamedAndNoCompletionIsShown)
{
    MakePayload();
    // A folder where AutoCAD 2008's driver backup belongs: the original cannot be
    // kept, so it must not be replaced, and the install is not complete.
    Disk::MakeFolder("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi.bak");
    Start();
    setup.Click(IDC_INSTALL);
    EXPECT_EQ(8, setup.WaitForExit());
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, kEntry, "DisplayName")) << "not listed as installed";
    ASSERT_EQ(1u, boxes.Count());
    const std::string text = boxes.Seen()[0].text;
    EXPECT_EQ(Texts::kCaptionSetup, boxes.Seen()[0].caption);
    EXPECT_NE(std::string::npos, text.find("AutoCAD 2008: C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi.bak\n"))
        << text;
    EXPECT_EQ(std::string::npos, text.find("AutoCAD 2010")) << "only what failed is named";
    EXPECT_EQ("AutoCAD's own PDF plot driver\n", Disk::ReadFile("C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi"));
    // Everything else was done, and a re-run (as administrator) completes it.
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX",
              Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
}

namespace {

// The 64-bit edition's real program on a machine with 64-bit and 32-bit AutoCAD.
class Install64 : public Install {
protected:
    Install64() : Install(MachineFixture::kEdition64, Edition64SetupExe()) {}
};

} // namespace

TEST_F(Install64, EachAutoCadIsRegisteredInTheViewItReads)
{
    if (Edition64SetupExe().empty())
        GTEST_SKIP() << "the 64-bit edition is not built in this build folder";
    MakePayload();
    Start();
    EXPECT_TRUE(setup.Enabled(IDC_ACAD2010) && setup.Enabled(IDC_ACAD2016));
    EXPECT_EQ(BST_CHECKED, SendMessageA(setup.Item(IDC_ACAD2016), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(setup.Item(IDC_ACAD2010), BM_GETCHECK, 0, 0));
    EXPECT_FALSE(setup.Enabled(IDC_ACAD2008));
    EXPECT_TRUE(setup.Visible(IDC_ACAD2027)) << "the 64-bit edition offers every release";
    setup.Click(IDC_INSTALL);
    ASSERT_EQ(0, setup.WaitForExit());
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(Texts::kInstallDone, boxes.Seen()[0].text);

    const std::string acad2016 = "SOFTWARE\\Autodesk\\AutoCAD\\R20.1\\ACAD-F001:804\\Applications\\";
    const std::string acad2010 = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Applications\\";
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2015.ARX", Reg::GetString(Reg::kMachine64, acad2016 + "Trabex2016", "LOADER"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX", Reg::GetString(Reg::kMachine32, acad2010 + "Trabex2010", "LOADER"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2010_32.ARX",
              Reg::GetString(Reg::kMachine32, acad2010 + "Trabex2010_32", "LOADER"));
    // Nothing where neither AutoCAD looks.
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine32, acad2016 + "Trabex2016", "LOADER"));
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine64, acad2010 + "Trabex2010", "LOADER"));
    EXPECT_EQ("Trabex_EN.shx", Disk::ReadFile("C:\\Program Files\\Autodesk\\AutoCAD 2016\\Fonts\\Trabex_EN.shx"));
    EXPECT_EQ("Trabex_EN.shx", Disk::ReadFile("C:\\Program Files\\AutoCAD 2010\\Fonts\\Trabex_EN.shx"));
}

// AutoCAD of any language is found: a product name with characters GBK lacks is
// read for its year, in both editions, and /S installs for it.
TEST_F(Install, ProductsNamedInOtherLanguagesAreServed)
{
    MakePayload();
    Reg::SetStringW(Reg::kMachine, kProduct2008, "ProductName", L"AutoCAD 2008 - Espa\u00f1ol (Spanish)");
    Reg::SetStringW(Reg::kMachine, kProduct2010, "ProductName", L"AutoCAD 2010 - Fran\u00e7ais (French)");
    Reg::DeleteTree(Reg::kMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R20.1");
    Reg::DeleteTree(Reg::kMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R22.0");
    boxes.WatchAllProcesses();
    EXPECT_EQ(0, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX",
              Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX",
              Reg::GetString(Reg::kMachine, kProduct2010 + "\\Applications\\Trabex2010", "LOADER"));
}

TEST_F(Install64, ProductsNamedInOtherLanguagesAreServed)
{
    if (Edition64SetupExe().empty())
        GTEST_SKIP() << "the 64-bit edition is not built in this build folder";
    MakePayload();
    Reg::SetStringW(Reg::kMachine64, kProduct2016, "ProductName", L"AutoCAD 2016 - \ud55c\uad6d\uc5b4 (Korean)");
    Reg::SetStringW(Reg::kMachine32, kProduct2010, "ProductName", L"AutoCAD 2010 - \u010ce\u0161tina (Czech)");
    boxes.WatchAllProcesses();
    EXPECT_EQ(0, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2015.ARX",
              Reg::GetString(Reg::kMachine64, kProduct2016 + "\\Applications\\Trabex2016", "LOADER"));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX",
              Reg::GetString(Reg::kMachine32, kProduct2010 + "\\Applications\\Trabex2010", "LOADER"));
}

// SetUp.exe /S: what a deployment tool runs. No window; the exit code and the log tell.
TEST_F(Install, SilentIntoAFolderWithABlankListsTheProductAndLogsEachStep)
{
    MakePayload();
    struct Remove {
        ~Remove() { Disk::RemoveTree("C:\\Trabex Tools"); }
    } remove;
    Disk::MakeFolder(setup.root / "log folder");
    const std::string log = setup.root / "log folder\\setup.log";
    boxes.WatchAllProcesses();
    EXPECT_EQ(0, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /s /LOG=\"" + log + "\" /D=C:\\Trabex Tools"));
    EXPECT_EQ(0u, boxes.Count()) << "no window at all";
    EXPECT_EQ("C:\\Trabex Tools\\Q-Ostrevo\\Trabex2008.ARX",
              Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
    EXPECT_EQ("Trabex_EN.shx", Disk::ReadFile("C:\\Program Files\\AutoCAD 2010\\Fonts\\Trabex_EN.shx"));

    // Listed in Apps & Features, in this program's own registry view.
    EXPECT_EQ("Ostrevo软件（32位 AutoCAD版）", Reg::GetString(Reg::kMachine, kEntry, "DisplayName"));
    EXPECT_EQ("2026.3.31", Reg::GetString(Reg::kMachine, kEntry, "DisplayVersion"));
    EXPECT_EQ("C:\\Trabex Tools\\Q-Ostrevo", Reg::GetString(Reg::kMachine, kEntry, "InstallLocation"));
    EXPECT_EQ("C:\\Trabex Tools\\Q-Ostrevo\\Uninstall.exe", Reg::GetString(Reg::kMachine, kEntry, "DisplayIcon"));
    EXPECT_EQ("\"C:\\Trabex Tools\\Q-Ostrevo\\Uninstall.exe\"", Reg::GetString(Reg::kMachine, kEntry, "UninstallString"));
    EXPECT_EQ("\"C:\\Trabex Tools\\Q-Ostrevo\\Uninstall.exe\" /S",
              Reg::GetString(Reg::kMachine, kEntry, "QuietUninstallString"));
    EXPECT_EQ(8u, Reg::GetString(Reg::kMachine, kEntry, "InstallDate").size());
    EXPECT_EQ(static_cast<DWORD>((PlacedBytes("C:\\Trabex Tools\\Q-Ostrevo") + 1023) / 1024),
              RegDword(Reg::kMachine, kEntry, "EstimatedSize"))
        << "the placed files, the per-user program the largest";
    EXPECT_EQ(1u, RegDword(Reg::kMachine, kEntry, "NoModify"));
    EXPECT_EQ(1u, RegDword(Reg::kMachine, kEntry, "NoRepair"));
    EXPECT_EQ("Ostrevo", Reg::GetString(Reg::kMachine, kEntry, "Publisher")) << "as the version resources' CompanyName";

    const std::string text = LogText(log);
    EXPECT_EQ(0u, text.find("\xEF\xBB\xBF")) << "UTF-8 with a byte-order mark";
    EXPECT_TRUE(LogHas(text, "找到 AutoCAD 2008：C:\\Program Files\\AutoCAD 2008")) << text;
    EXPECT_TRUE(LogHas(text, "安装路径：C:\\Trabex Tools\\Q-Ostrevo")) << text;
    EXPECT_TRUE(LogHas(text, "已复制：C:\\Trabex Tools\\Q-Ostrevo\\Trabex2010.ARX")) << text;
    EXPECT_TRUE(LogHas(text, "已复制：C:\\Trabex Tools\\Q-Ostrevo\\Trabex扩展绘图库\\门窗.dwg")) << text;
    EXPECT_TRUE(LogHas(text, "已注册：AutoCAD 2008: HKEY_LOCAL_MACHINE\\" + kProduct2008 + "\\Applications\\Trabex2008"))
        << text;
    EXPECT_TRUE(LogHas(text, "受信任路径已写入：HKEY_CURRENT_USER\\" + kProfile2008)) << text;
    EXPECT_TRUE(LogHas(text, "已写入：C:\\Program Files\\AutoCAD 2008\\Drv\\pdfplot9.hdi")) << text;
    EXPECT_TRUE(LogHas(text, std::string("消息 [Q-工具箱安装] ") + Texts::kInstallDone)) << text;
    EXPECT_TRUE(LogHas(text, "结束，退出代码 0")) << text;
    // Its first lines say what ran where, as whom, from which payload.
    EXPECT_TRUE(LogHas(text, "SetUp 2026.3.31，命令行：")) << text;
    EXPECT_TRUE(LogHas(text, std::string("版本：32 位 AutoCAD 版，") + (sizeof(void*) == 8 ? "64" : "32") + " 位程序"))
        << text;
    EXPECT_TRUE(LogHas(text, "Windows：")) << text;
    EXPECT_TRUE(LogHas(text, "64 位 Windows")) << text;
    EXPECT_TRUE(LogHas(text, "账户：")) << text;
    EXPECT_TRUE(LogHas(text, "安装包文件夹：" + setup.data())) << text;
    EXPECT_LT(text.find(ToUtf8("账户：")), text.find(ToUtf8("找到 AutoCAD"))) << "at the top";
}

// An upgrade as deployment tools run it: the next version without /D= goes where
// the add-on is, not to the default folder (which would leave the first
// installation with no entry that ever removes it); the dialog offers it; a run
// without /LOG= keeps its log in the temporary folder.
TEST_F(Install, AnUpgradeWithoutAFolderStaysWhereTheAddOnIs)
{
    MakePayload();
    struct Remove {
        ~Remove() { Disk::RemoveTree("C:\\Apps"); }
    } remove;
    ASSERT_EQ(0, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S /D=C:\\Apps"));
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string defaultLog = std::string(temp) + "Q-Ostrevo-setup.log";
    DeleteFileA(defaultLog.c_str());
    ASSERT_EQ(0, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S"));
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex")) << "no second installation";
    EXPECT_EQ("C:\\Apps\\Q-Ostrevo", Reg::GetString(Reg::kMachine, kEntry, "InstallLocation"));
    EXPECT_EQ("C:\\Apps\\Q-Ostrevo\\Trabex2008.ARX",
              Reg::GetString(Reg::kMachine, kProduct2008 + "\\Applications\\Trabex2008", "LOADER"));
    EXPECT_TRUE(LogHas(LogText(defaultLog), "已安装的版本 2026.3.31 在 C:\\Apps：安装到同一位置")) << LogText(defaultLog);

    Start();
    EXPECT_EQ("C:\\Apps", setup.Text(IDC_INSTALL_PATH));
}

TEST_F(Install, SilentRunsThatMustNotInstallChangeNothing)
{
    MakePayload();
    boxes.WatchAllProcesses();
    const std::string before = MachineFixture::Snapshot();
    const std::string command = "\"" + setup.dist() + "\\SetUp.exe\" /S /LOG=" + (setup.root / "s.log");
    {
        FakeAcad acad(setup.root.Path());
        ASSERT_TRUE(acad.Started());
        EXPECT_EQ(1618, RunToEnd(command)) << "AutoCAD is running: busy, for a deployment tool to try again";
    }
    EXPECT_TRUE(LogHas(LogText(setup.root / "s.log"), Texts::kCloseAcad));
    EXPECT_EQ(1, RunToEnd(command + " /X")) << "a switch it does not know";
    // A log in folders that do not exist yet: they are made. One that cannot be
    // written: nothing is done, and the exit code says so.
    const std::string deeper = setup.root / "logs\\deeper\\s.log";
    EXPECT_EQ(4, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S /LOG=" + deeper + " /D=C:\\a:b"));
    EXPECT_TRUE(LogHas(LogText(deeper), "日志文件：" + deeper));
    EXPECT_EQ(1, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S /LOG=Q:\\logs\\s.log"));
    EXPECT_EQ(4, RunToEnd(command + " /D=C:\\a:b")) << "the folder rules";
    // ';' separates TRUSTEDPATHS entries: AutoCAD would trust "D:\CAD" and "Tools".
    EXPECT_EQ(4, RunToEnd(command + " /D=D:\\CAD;Tools"));
    char invalid[512];
    std::snprintf(invalid, sizeof invalid, Texts::kFolderInvalidFormat, "D:\\CAD;Tools");
    EXPECT_TRUE(LogHas(LogText(setup.root / "s.log"), invalid));
    // A drive this program does not see (mapped for another user): one message, nothing written.
    EXPECT_EQ(4, RunToEnd(command + " /D=Q:\\Tools"));
    char notCreated[512];
    std::snprintf(notCreated, sizeof notCreated, Texts::kFolderNotCreatedFormat, "Q:\\Tools\\Q-Ostrevo");
    EXPECT_TRUE(LogHas(LogText(setup.root / "s.log"), notCreated));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(before, MachineFixture::Snapshot());

    // Without the rights to write AutoCAD's keys.
    const ReadOnlyKey readOnly(kProduct2016);
    if (!readOnly.Enforced())
        GTEST_SKIP() << "this Wine does not enforce registry key security";
    EXPECT_EQ(5, RunToEnd(command));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(before, MachineFixture::Snapshot());
}

// One run at a time: a second SetUp.exe (or Uninstall.exe) while the first stands
// in its dialog is told so, or ends busy, and writes nothing.
TEST_F(Install, ASecondRunWhileTheFirstShowsItsDialogChangesNothing)
{
    MakePayload();
    Start();
    const std::string before = MachineFixture::Snapshot();
    MessageBoxAnswerer others;
    others.WatchAllProcesses();
    const std::string exe = "\"" + setup.dist() + "\\SetUp.exe\"";
    EXPECT_EQ(1618, RunToEnd(exe));
    ASSERT_EQ(1u, others.Count());
    EXPECT_EQ(Texts::kAnotherRunGoesOn, others.Seen()[0].text);
    EXPECT_EQ(Texts::kCaptionSetup, others.Seen()[0].caption);
    const std::string log = setup.root / "second.log";
    EXPECT_EQ(1618, RunToEnd(exe + " /S /LOG=" + log));
    EXPECT_TRUE(LogHas(LogText(log), Texts::kAnotherRunGoesOn)) << LogText(log);
    EXPECT_TRUE(LogHas(LogText(log), "结束，退出代码 1618")) << LogText(log);
    EXPECT_EQ(1618, RunToEnd("\"" + BesideSetup("Uninstall.exe") + "\" /S")) << "the uninstaller shares the name";
    EXPECT_EQ(1u, others.Count()) << "the silent runs show nothing";
    EXPECT_EQ(before, MachineFixture::Snapshot());
    EXPECT_FALSE(Disk::IsFolder("C:\\Trabex"));

    // The first goes on undisturbed, and once it has ended the next run may start.
    setup.Click(IDC_INSTALL);
    ASSERT_EQ(0, setup.WaitForExit());
    EXPECT_EQ(0, RunToEnd(exe + " /S"));
}
