// The distribution's SetUp.exe, which carries the list of its payload's files
// (laid out and linked as the dist target does it): it installs what the list
// names, as it was packaged, and nothing at all from a payload that was changed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "platform/Hash.h"
#include "res/Texts.h"
#include "res/resource.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"

namespace {

const std::string kLoader2008 =
    "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Applications\\Trabex2008";
const std::string kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo";
const char kLibrary[] = "Trabex扩展绘图库";

void CopyTree(const std::string& from, const std::string& to)
{
    Disk::MakeFolder(to);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((from + "\\*").c_str(), &found);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found)) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            EXPECT_TRUE(CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE)) << name;
    }
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
}

std::string Sha256Hex(const std::string& bytes)
{
    Sha256 sha256;
    Sha256Digest digest;
    EXPECT_TRUE(sha256.OfBytes(bytes.data(), static_cast<DWORD>(bytes.size()), digest));
    return digest.Hex().Std();
}

// The program's GBK text as the log's UTF-8, on one line.
bool LogHas(const std::string& log, std::string gbk)
{
    for (char& c : gbk)
        if (c == '\n')
            c = ' ';
    return log.find(ToUtf8(gbk)) != std::string::npos;
}

std::string Formatted(const char* format, const std::string& path)
{
    char text[2048];
    std::snprintf(text, sizeof text, format, path.c_str());
    return text;
}

// The machine, and a distribution folder: the listed SetUp.exe beside its Data.
class ListedPayload : public ::testing::Test {
protected:
    ListedPayload() : machine(FixturesDir()), setup(TRABEX_LISTED_SETUP) { CopyTree(TRABEX_LISTED_DATA, setup.data()); }

    int RunSilent() const { return RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S /LOG=" + Log()); }
    std::string Log() const { return setup.root / "setup.log"; }
    std::string Logged() const { return Disk::ReadFile(Log()); }

    // Nothing of the add-on on the machine: no folder, no registration, no entry.
    void ExpectNothingWritten(const std::string& before) const
    {
        EXPECT_EQ(before, MachineFixture::Snapshot());
        EXPECT_FALSE(Disk::IsFolder("C:\\Trabex"));
        EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, kLoader2008));
        EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, kEntry));
    }

    MachineFixture machine;
    SetupProcess setup;
};

} // namespace

TEST_F(ListedPayload, InstallsWhatTheListNamesAsPackagedAndNothingElse)
{
    // Files put into Data after the program was made are no part of it.
    Disk::WriteFile(setup.data() + "\\Trabex2026.ARX", "not from the publisher");
    Disk::WriteFile(setup.data() + "\\" + kLibrary + "\\extra.dwg", "not from the publisher");
    ASSERT_EQ(0, RunSilent()) << Logged();

    const std::string folder = "C:\\Trabex\\Q-Ostrevo";
    for (const std::string& file : {std::string("Trabex2008.ARX"), std::string("Uninstall.exe"),
                                    std::string("TrabexTrustedPath.exe"), std::string(kLibrary) + "\\门窗.dwg"})
        EXPECT_EQ(Disk::ReadFile(setup.data() + "\\" + file), Disk::ReadFile(folder + "\\" + file)) << file;
    EXPECT_EQ(Disk::ReadFile(setup.data() + "\\Trabex_EN.shx"),
              Disk::ReadFile("C:\\Program Files\\AutoCAD 2010\\Fonts\\Trabex_EN.shx"));
    EXPECT_EQ(folder + "\\Trabex2008.ARX", Reg::GetString(Reg::kMachine, kLoader2008, "LOADER"));
    EXPECT_FALSE(Disk::IsFile(folder + "\\Trabex2026.ARX"));
    EXPECT_FALSE(Disk::IsFile(folder + "\\" + kLibrary + "\\extra.dwg"));

    const std::string log = Logged();
    EXPECT_TRUE(LogHas(log, "安装文件已核对：")) << log;
    EXPECT_TRUE(LogHas(log, Formatted(Texts::kLogNotListedFormat, setup.data() + "\\Trabex2026.ARX"))) << log;
    EXPECT_TRUE(
        LogHas(log, Formatted(Texts::kLogNotListedFormat, setup.data() + "\\" + kLibrary + "\\extra.dwg")))
        << log;
}

TEST_F(ListedPayload, AChangedOrMissingFileStopsTheInstallBeforeAnythingIsWritten)
{
    const std::string before = MachineFixture::Snapshot();
    const std::string module = setup.data() + "\\Trabex2008.ARX";
    const std::string packaged = Disk::ReadFile(module);
    std::string changed = packaged;
    changed[changed.size() / 2] ^= 0x01;
    Disk::WriteFile(module, changed);
    EXPECT_EQ(10, RunSilent());
    ExpectNothingWritten(before);
    std::string log = Logged();
    EXPECT_TRUE(LogHas(log, Formatted(Texts::kPayloadChangedFormat, module))) << log;
    EXPECT_TRUE(LogHas(log, "安装文件与安装程序的清单不符：" + module)) << log;
    EXPECT_NE(std::string::npos, log.find(Sha256Hex(packaged))) << "the listed fingerprint: " << log;
    EXPECT_NE(std::string::npos, log.find(Sha256Hex(changed))) << "the one found: " << log;
    EXPECT_TRUE(LogHas(log, "结束，退出代码 10")) << log;

    // A listed file of the library gone; the dialog says which.
    Disk::WriteFile(module, packaged);
    const std::string drawing = setup.data() + "\\" + kLibrary + "\\门窗.dwg";
    ASSERT_TRUE(DeleteFileA(drawing.c_str()));
    EXPECT_EQ(10, RunSilent());
    ExpectNothingWritten(before);
    log = Logged();
    EXPECT_TRUE(LogHas(log, "清单中的安装文件无法读取：" + drawing)) << log;

    MessageBoxAnswerer boxes;
    ASSERT_TRUE(setup.Start());
    boxes.WatchProcess(setup.Pid());
    setup.Click(IDC_INSTALL);
    for (int waited = 0; boxes.Count() < 1 && waited < 15000; waited += 20)
        Sleep(20);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Formatted(Texts::kPayloadChangedFormat, drawing), boxes.Seen()[0].text);
    ExpectNothingWritten(before);
}

// The dialog checks the payload while it waits for the click: from then on no
// one may change a listed file, and the click installs what was checked.
TEST_F(ListedPayload, TheDialogHoldsTheCheckedFilesBeforeTheClick)
{
    const std::string module = setup.data() + "\\Trabex2008.ARX";
    const std::string packaged = Disk::ReadFile(module);
    MessageBoxAnswerer boxes;
    ASSERT_TRUE(setup.Start());
    boxes.WatchProcess(setup.Pid());
    // Held once the check has begun: a writer is refused.
    bool held = false;
    for (int waited = 0; !held && waited < 15000; waited += 20) {
        const HANDLE h = CreateFileA(module.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        held = h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        Sleep(20);
    }
    EXPECT_TRUE(held) << "no listed file was held before the click";
    setup.Click(IDC_INSTALL);
    EXPECT_EQ(0, setup.WaitForExit());
    ASSERT_LE(1u, boxes.Count());
    EXPECT_EQ(Texts::kInstallDone, boxes.Seen()[0].text);
    EXPECT_EQ(packaged, Disk::ReadFile("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX"));
}

// A file still being written when the dialog opened (an unpacking not yet done)
// fails the check begun then; the click checks again and installs.
TEST_F(ListedPayload, AFileBusyWhenTheDialogOpenedIsCheckedAgainAtTheClick)
{
    const std::string module = setup.data() + "\\Trabex2008.ARX";
    HANDLE busy = CreateFileA(module.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    MessageBoxAnswerer boxes;
    ASSERT_TRUE(setup.Start());
    boxes.WatchProcess(setup.Pid());
    // The check begun with the dialog takes milliseconds for this payload: its
    // verdict (the busy file unreadable) is in long before the click.
    Sleep(1500);
    CloseHandle(busy);
    setup.Click(IDC_INSTALL);
    EXPECT_EQ(0, setup.WaitForExit());
    ASSERT_LE(1u, boxes.Count());
    EXPECT_EQ(Texts::kInstallDone, boxes.Seen()[0].text);
}
