#include "deploy/PayloadCopier.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "res/Texts.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/PayloadFixture.h"
#include "tests/support/ProgressCounter.h"

namespace {

// Holds a file open without sharing, so that copies onto it fail.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : m_h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        EXPECT_NE(INVALID_HANDLE_VALUE, m_h) << path;
    }
    ~FileLock() { Release(); }
    void Release()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_h;
};

std::string CopyFailedText(const std::string& target)
{
    char buf[1024];
    std::snprintf(buf, sizeof buf, Texts::kCopyFailedFormat, target.c_str());
    return buf;
}

} // namespace

TEST(CopyPayload, CopiesFilesButNotTheSkipListOrFolders)
{
    PayloadFixture f;
    f.MakeData({"setup.exe", "TRABEX_en.SHX", "trabex_hz.shx", "Trabex2010.ARX", "Trabex.prt5"});
    Disk::MakeFolder(f.data() + "\\Trabex扩展绘图库");
    Disk::WriteFile(f.data() + "\\Trabex扩展绘图库\\a.dwg", "a");
    MessageBoxAnswerer boxes;
    ProgressCounter progress;
    CPayloadCopier copier((f.install() + "\\").c_str(), PayloadFixture::Payload(), progress);
    EXPECT_EQ(f.install(), copier.m_strFolder.Std());
    EXPECT_TRUE(copier.CopyPayload());
    EXPECT_EQ((std::vector<std::string>{"Trabex.prt5", "Trabex2010.ARX"}), Disk::List(f.install()));
    EXPECT_EQ("Trabex2010.ARX", Disk::ReadFile(f.install() + "\\Trabex2010.ARX"));
    // ".", "..", six entries, and the pass that finds the listing exhausted.
    EXPECT_EQ(9, progress.Steps());
    EXPECT_EQ(0u, boxes.Count());
}

TEST(CopyPayload, ReadOnlyFilesOnBothSides)
{
    PayloadFixture f;
    f.MakeData({"a.arx", "b.arx"});
    Disk::MakeFolder(f.install());
    Disk::WriteFile(f.install() + "\\a.arx", "old");
    SetFileAttributesA((f.install() + "\\a.arx").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((f.data() + "\\b.arx").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_TRUE(copier.CopyPayload());
    EXPECT_EQ("a.arx", Disk::ReadFile(f.install() + "\\a.arx"));
    EXPECT_FALSE(GetFileAttributesA((f.install() + "\\a.arx").c_str()) & FILE_ATTRIBUTE_READONLY);
    // The download stays as it was: the setup never writes to its own source.
    const DWORD src = GetFileAttributesA((f.data() + "\\b.arx").c_str());
    EXPECT_TRUE(src & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(src & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(GetFileAttributesA((f.install() + "\\b.arx").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(CopyPayload, EmptyPayloadStepsThreeTimes)
{
    PayloadFixture f;
    f.MakeData({});
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_TRUE(copier.CopyPayload());
    EXPECT_EQ(3, progress.Steps());
    EXPECT_TRUE(Disk::IsFolder(f.install()));
    EXPECT_TRUE(Disk::List(f.install()).empty());
}

TEST(CopyPayload, EveryEntryIsCopiedAndTheStepsAreCountedBeforehand)
{
    PayloadFixture f;
    f.MakeData({});
    for (int i = 0; i < 150; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d.dat", i);
        Disk::WriteFile(f.data() + "\\" + name, name);
    }
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_TRUE(copier.CopyPayload());
    const std::vector<std::string> copied = Disk::List(f.install());
    ASSERT_EQ(150u, copied.size());
    EXPECT_EQ("f149.dat", copied.back());
    EXPECT_EQ(153, progress.Steps());  // 152 entries and the end of the listing
    EXPECT_EQ(153, CountCopySteps(CStringW::FromText(f.data().c_str())));
}

TEST(CopyPayload, AbortAtTheFifthFileKeepsTheFirstFour)
{
    PayloadFixture f;
    f.MakeData({"1.arx", "2.arx", "3.arx", "4.arx", "5.arx", "6.arx"});
    Disk::MakeFolder(f.install());
    FileLock lock(f.install() + "\\5.arx");
    MessageBoxAnswerer boxes(std::vector<int>{IDABORT});
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_FALSE(copier.CopyPayload());
    lock.Release();
    EXPECT_EQ((std::vector<std::string>{"1.arx", "2.arx", "3.arx", "4.arx", "5.arx"}),
              Disk::List(f.install()));
    EXPECT_EQ("", Disk::ReadFile(f.install() + "\\5.arx"));  // the locked, never-copied file
    const std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Q-软件安装", seen[0].caption);
    EXPECT_EQ(CopyFailedText(f.install() + "\\5.arx"), seen[0].text);
}

TEST(CopyPayload, IgnoreLeavesTheFileOutAndGoesOn)
{
    PayloadFixture f;
    f.MakeData({"1.arx", "2.arx", "3.arx"});
    Disk::MakeFolder(f.install());
    FileLock lock(f.install() + "\\2.arx");
    MessageBoxAnswerer boxes(std::vector<int>{IDIGNORE});
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_TRUE(copier.CopyPayload());
    lock.Release();
    EXPECT_EQ("1.arx", Disk::ReadFile(f.install() + "\\1.arx"));
    EXPECT_EQ("", Disk::ReadFile(f.install() + "\\2.arx"));
    EXPECT_EQ("3.arx", Disk::ReadFile(f.install() + "\\3.arx"));
    EXPECT_EQ(1u, boxes.Count());
}

TEST(CopyPayload, RetryCopiesOnceTheFileIsFree)
{
    PayloadFixture f;
    f.MakeData({"1.arx"});
    Disk::MakeFolder(f.install());
    FileLock lock(f.install() + "\\1.arx");
    int asked = 0;
    MessageBoxAnswerer boxes([&](const std::string&, const std::string&) {
        if (++asked == 2)
            lock.Release();  // the user closed AutoCAD meanwhile
        return IDRETRY;
    });
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_TRUE(copier.CopyPayload());
    EXPECT_EQ("1.arx", Disk::ReadFile(f.install() + "\\1.arx"));
    EXPECT_EQ(2, asked);
}

TEST(CopyPayload, MissingPayloadStopsBeforeAnything)
{
    PayloadFixture f;
    MessageBoxAnswerer boxes;
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    EXPECT_FALSE(copier.CopyPayload());
    EXPECT_EQ(0, progress.Steps());
    EXPECT_FALSE(Disk::IsFolder(f.install()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Texts::kPayloadMissing, boxes.Seen()[0].text);
}

TEST(CopyPayload, TargetTooLongForAPathIsAFailedCopyNeverACutOne)
{
    PayloadFixture f;
    f.MakeData({"Trabex2010.ARX"});
    // The folder fits 259 bytes; the folder plus "\Trabex2010.ARX" does not.
    const std::string folder = f.install() + "\\" + std::string(250 - f.install().size(), 'x');
    ASSERT_LT(folder.size(), 260u);
    MessageBoxAnswerer boxes(std::vector<int>{IDABORT});
    ProgressCounter progress;
    CPayloadCopier copier(folder.c_str(), PayloadFixture::Payload(), progress);
    EXPECT_FALSE(copier.CopyPayload());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(CopyFailedText(folder + "\\Trabex2010.ARX"), boxes.Seen()[0].text);
    EXPECT_TRUE(Disk::List(folder).empty());
}

TEST(ZoneIdentifier, RemovedWhereTheFileSystemKeepsStreams)
{
    TempFolder dir;
    Disk::WriteFile(dir / "f.arx", "x");
    EXPECT_FALSE(RemoveZoneIdentifier(CStringW::FromText((dir / "f.arx").c_str())));  // no stream: nothing deleted
    HANDLE h = CreateFileA((dir / "f.arx:Zone.Identifier").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    const bool streamMade = h != INVALID_HANDLE_VALUE;
    if (streamMade)
        CloseHandle(h);
    if (!streamMade || Disk::List(dir.Path()).size() != 1) {
        Disk::RemoveTree(dir / "f.arx:Zone.Identifier");
        GTEST_SKIP() << "this file system keeps no alternate data streams (Wine): only the "
                        "result without a stream is checked";
    }
    EXPECT_TRUE(RemoveZoneIdentifier(CStringW::FromText((dir / "f.arx").c_str())));
    EXPECT_EQ("x", Disk::ReadFile(dir / "f.arx"));
}

TEST(CopyPayload, PayloadThatCannotBeListedIsReportedNotTakenForEmpty)
{
    // A payload folder whose listing pattern is longer than a path may be: the
    // listing cannot be opened.
    PayloadFixture f;
    const std::string deep = f.root / std::string(257 - f.root.Path().size() - 6, 'd');
    Disk::MakeFolder(deep);
    Disk::MakeFolder(deep + "\\Data");
    Files::SetModulePathForTesting(CStringW::FromText((deep + "\\SetUp.exe").c_str()));
    for (int answer : {IDABORT, IDIGNORE}) {
        MessageBoxAnswerer boxes(std::vector<int>{answer});
        WindowReporter reporter(nullptr, nullptr);
        CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), reporter);
        EXPECT_EQ(answer == IDIGNORE, copier.CopyPayload());
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(CopyFailedText(deep + "\\Data\\*.*"), boxes.Seen()[0].text);
    }
}
