#include "platform/Files.h"
#include "platform/ErrorText.h"
#include "platform/Processes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/TempFolder.h"

TEST(FileFinder, ListsDotsFirstThenEntriesSorted)
{
    TempFolder dir;
    Disk::WriteFile(dir / "b.txt", "b");
    Disk::WriteFile(dir / "A.txt", "a");
    Disk::MakeFolder(dir / "sub");
    FileFinder finder;
    ASSERT_TRUE(finder.First((dir.Path() + "\\*.*").c_str()));
    std::vector<std::string> names;
    do {
        names.push_back(finder.Name().Std());
    } while (finder.Next());
    ASSERT_EQ(5u, names.size());
    EXPECT_EQ(".", names[0]);
    EXPECT_EQ("..", names[1]);
    EXPECT_TRUE(FileFinder().First((dir / "missing\\*.*").c_str()) == false);
}

TEST(Files, CopyOverwritesAndAttributesRoundTrip)
{
    TempFolder dir;
    Disk::WriteFile(dir / "src", "new");
    Disk::WriteFile(dir / "dst", "old");
    EXPECT_TRUE(Files::CopyOverwrite((dir / "src").c_str(), (dir / "dst").c_str()));
    EXPECT_EQ("new", Disk::ReadFile(dir / "dst"));
    EXPECT_FALSE(Files::CopyOverwrite((dir / "nothing").c_str(), (dir / "dst").c_str()));

    EXPECT_TRUE(Files::SetAttributes((dir / "dst").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD a = Files::GetAttributes((dir / "dst").c_str());
    EXPECT_TRUE(a & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(a & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Files::GetAttributes((dir / "nothing").c_str()));
}

TEST(Files, FoldersExistenceAndModulePath)
{
    TempFolder dir;
    EXPECT_TRUE(Files::CreateFolder((dir / "a").c_str()));
    EXPECT_FALSE(Files::CreateFolder((dir / "a").c_str()));
    Files::MakeDir((dir / "b").c_str());
    EXPECT_TRUE(Files::Exists((dir / "b").c_str()));
    EXPECT_FALSE(Files::Exists((dir / "c").c_str()));
    Files::MakeDir((dir / "x\\y").c_str());  // one level only
    EXPECT_FALSE(Files::Exists((dir / "x").c_str()));

    const CString module = Files::ModulePath();
    EXPECT_GT(module.GetLength(), 4);
    EXPECT_EQ(0, module.Right(4).CompareNoCase(".exe"));
    EXPECT_FALSE(Files::CurrentFolder().IsEmpty());
}

TEST(Processes, SeesItsOwnImageName)
{
    CString self = Files::ModulePath();
    self = self.Mid(self.ReverseFind('\\') + 1);
    bool found = Processes::AnyImageName([&](const char* name) { return self.CompareNoCase(name) == 0; });
    EXPECT_TRUE(found);
    EXPECT_FALSE(Processes::AnyImageName([](const char*) { return false; }));
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

TEST(DescribeError, TheCodeAndTheSystemsTextOnOneLine)
{
    const CStringW text = DescribeError(ERROR_ACCESS_DENIED);
    const CString gbk = CString::FromWide(text.GetString());
    EXPECT_EQ(0, gbk.Find("（错误 5：")) << gbk.GetString();
    EXPECT_GT(gbk.GetLength(), static_cast<int>(std::strlen("（错误 5：）"))) << "the system's own text";
    EXPECT_EQ(gbk.GetLength() - 2, gbk.Find("）"));
    EXPECT_LT(text.Find(L'\n'), 0);
    EXPECT_LT(text.Find(L'\r'), 0);
}
