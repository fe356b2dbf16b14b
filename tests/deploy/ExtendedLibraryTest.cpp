#include "deploy/PayloadCopier.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/MessageBoxes.h"
#include "tests/support/PayloadFixture.h"
#include "tests/support/ProgressCounter.h"

namespace {
const std::string kLibrary = "Trabex扩展绘图库";
}

TEST(CopyExtendedLibrary, CopiesFilesFlatIncludingFontNames)
{
    PayloadFixture f;
    f.MakeData({});
    const std::string lib = f.data() + "\\" + kLibrary;
    Disk::MakeFolder(lib);
    Disk::WriteFile(lib + "\\Trabex_EN.shx", "font");
    Disk::WriteFile(lib + "\\door.dwg", "door");
    Disk::MakeFolder(lib + "\\nested");
    Disk::WriteFile(lib + "\\nested\\deep.dwg", "deep");
    Disk::MakeFolder(f.install());
    MessageBoxAnswerer boxes;
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    copier.CopyExtendedLibrary();
    const std::string target = f.install() + "\\" + kLibrary;
    EXPECT_EQ((std::vector<std::string>{"Trabex_EN.shx", "door.dwg"}), Disk::List(target));
    EXPECT_EQ(6, progress.Steps());  // ".", "..", three entries, the exhausted pass
    EXPECT_EQ(0u, boxes.Count());

    // The GBK name reaches the file system as the right characters.
    WIN32_FIND_DATAW fd;
    const std::string install = f.install();
    HANDLE h = FindFirstFileW((std::wstring(install.begin(), install.end()) +
                               L"\\Trabex\u6269\u5c55\u7ed8\u56fe\u5e93").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FindClose(h);
}

TEST(CopyExtendedLibrary, EmptyDestinationEvenWithoutALibrary)
{
    PayloadFixture f;
    f.MakeData({});
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    Disk::MakeFolder(f.install());
    copier.CopyExtendedLibrary();
    EXPECT_TRUE(Disk::IsFolder(f.install() + "\\" + kLibrary));
    EXPECT_EQ(0, progress.Steps());
}

TEST(CopyExtendedLibrary, LockedTargetIsNamedWithoutAQuestionAndTheNextCopied)
{
    PayloadFixture f;
    f.MakeData({});
    const std::string lib = f.data() + "\\" + kLibrary;
    Disk::MakeFolder(lib);
    Disk::WriteFile(lib + "\\a.dwg", "a");
    Disk::WriteFile(lib + "\\b.dwg", "b");
    const std::string target = f.install() + "\\" + kLibrary;
    Disk::MakeFolder(f.install());
    Disk::MakeFolder(target);
    Disk::WriteFile(target + "\\a.dwg", "mine");
    HANDLE lock = CreateFileA((target + "\\a.dwg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    MessageBoxAnswerer boxes;
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    copier.CopyExtendedLibrary();
    CloseHandle(lock);
    EXPECT_EQ("mine", Disk::ReadFile(target + "\\a.dwg"));
    EXPECT_EQ("b", Disk::ReadFile(target + "\\b.dwg"));
    EXPECT_EQ(0u, boxes.Count());
    // Named with the install's write failures, so completion is never claimed over it.
    ASSERT_EQ(1, copier.Result().libraryFailures.GetSize());
    EXPECT_EQ(target + "\\a.dwg", CString::FromWide(copier.Result().libraryFailures[0].strWhat.GetString()).Std());
}

TEST(CopyExtendedLibrary, EveryEntryIsCopied)
{
    PayloadFixture f;
    f.MakeData({});
    const std::string lib = f.data() + "\\" + kLibrary;
    Disk::MakeFolder(lib);
    for (int i = 0; i < 98; ++i) {  // 100 entries with "." and ".."
        char name[32];
        std::snprintf(name, sizeof name, "p%03d.dwg", i);
        Disk::WriteFile(lib + "\\" + name, name);
    }
    ProgressCounter progress;
    CPayloadCopier copier(f.install().c_str(), PayloadFixture::Payload(), progress);
    Disk::MakeFolder(f.install());
    copier.CopyExtendedLibrary();
    const std::vector<std::string> copied = Disk::List(f.install() + "\\" + kLibrary);
    ASSERT_EQ(98u, copied.size());
    EXPECT_EQ("p097.dwg", copied.back());
    EXPECT_EQ(101, progress.Steps());
}

TEST(CopyExtendedLibrary, DestinationTooLongIsSkippedQuietly)
{
    PayloadFixture f;
    f.MakeData({});
    Disk::MakeFolder(f.data() + "\\" + kLibrary);
    Disk::WriteFile(f.data() + "\\" + kLibrary + "\\a.dwg", "a");
    const std::string folder = f.install() + "\\" + std::string(250 - f.install().size(), 'x');
    Disk::MakeFolder(f.install());
    Disk::MakeFolder(folder);
    MessageBoxAnswerer boxes;
    ProgressCounter progress;
    CPayloadCopier copier(folder.c_str(), PayloadFixture::Payload(), progress);
    copier.CopyExtendedLibrary();
    EXPECT_TRUE(Disk::List(folder).empty());
    EXPECT_EQ(0u, boxes.Count());
}
