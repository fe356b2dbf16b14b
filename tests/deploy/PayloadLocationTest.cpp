#include "deploy/PayloadLocation.h"

#include <gtest/gtest.h>

#include "res/Texts.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/PayloadFixture.h"

TEST(LocatePayload, DataFolderBeatsTheModuleBesideTheProgram)
{
    PayloadFixture f;
    Disk::MakeFolder(f.data());
    Disk::WriteFile(f.dist() + "\\Trabex2010.arx", "module");
    CString payload;
    ASSERT_TRUE(LocatePayload(payload));
    EXPECT_EQ(f.data(), payload.Std());
}

TEST(LocatePayload, ModuleAloneMakesTheProgramFolderThePayload)
{
    PayloadFixture f;
    Disk::WriteFile(f.dist() + "\\Trabex2010.arx", "module");
    CString payload;
    ASSERT_TRUE(LocatePayload(payload));
    EXPECT_EQ(f.dist(), payload.Std());
}

TEST(LocatePayload, NeitherShowsTheMessageOnEveryCall)
{
    PayloadFixture f;
    // A file named Data and a folder named like the module do not count.
    Disk::WriteFile(f.dist() + "\\Data", "not a folder");
    Disk::MakeFolder(f.dist() + "\\Trabex2010.arx");
    MessageBoxAnswerer boxes;
    CString payload;
    EXPECT_FALSE(LocatePayload(payload));
    EXPECT_FALSE(LocatePayload(payload));
    const std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(2u, seen.size());
    for (const SeenBox& box : seen) {
        EXPECT_EQ("Q-软件安装", box.caption);
        EXPECT_EQ("未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !",
                  box.text);
    }
}

TEST(PathKindAndReadOnly, ClassifiesAndClearsOnlyReadOnly)
{
    TempFolder dir;
    Disk::WriteFile(dir / "f", "x");
    EXPECT_EQ(kPathMissing, GetPathKind((dir / "none").c_str()));
    EXPECT_EQ(kPathFile, GetPathKind((dir / "f").c_str()));
    EXPECT_EQ(kPathFolder, GetPathKind(dir.Path().c_str()));

    SetFileAttributesA((dir / "f").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ClearReadOnly((dir / "f").c_str());
    const DWORD a = GetFileAttributesA((dir / "f").c_str());
    EXPECT_FALSE(a & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(a & FILE_ATTRIBUTE_HIDDEN);
    ClearReadOnly((dir / "none").c_str());  // nothing there, nothing reported
}

namespace {

// Starts a copy of the sleeper helper under the given image name.
class RunningImage {
public:
    RunningImage(const TempFolder& dir, const char* image)
    {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string helper = self;
        helper = helper.substr(0, helper.rfind('\\')) + "\\sleeper.exe";
        const std::string copy = dir / image;
        CopyFileA(helper.c_str(), copy.c_str(), FALSE);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + copy + "\" 30000";
        m_started = CreateProcessA(copy.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &m_pi) != FALSE;
        for (int i = 0; i < 500 && m_started; ++i) {  // until it is listed
            if (Processes::AnyImageName([&](const char* n) { return _stricmp(n, image) == 0; }))
                break;
            Sleep(10);
        }
    }
    ~RunningImage()
    {
        if (m_started) {
            TerminateProcess(m_pi.hProcess, 0);
            WaitForSingleObject(m_pi.hProcess, 5000);
            CloseHandle(m_pi.hProcess);
            CloseHandle(m_pi.hThread);
        }
    }
    bool started() const { return m_started; }

private:
    PROCESS_INFORMATION m_pi = {};
    bool m_started = false;
};

} // namespace

TEST(IsAcadRunning, ImageNamesContainingAcadExeInAnyCase)
{
    EXPECT_FALSE(IsAcadRunning());
    TempFolder dir;
    {
        RunningImage acad(dir, "ACAD.EXE");
        ASSERT_TRUE(acad.started());
        EXPECT_TRUE(IsAcadRunning());
    }
    {
        RunningImage other(dir, "notacad.exe");
        ASSERT_TRUE(other.started());
        EXPECT_TRUE(IsAcadRunning());
    }
    {
        RunningImage unrelated(dir, "acadx.exe");
        ASSERT_TRUE(unrelated.started());
        EXPECT_FALSE(IsAcadRunning());
    }
}
