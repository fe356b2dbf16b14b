#include "platform/FolderName.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

TEST(CheckFolderName, RefusesBlankDotEdgesAndForbiddenCharacters)
{
    EXPECT_TRUE(CheckFolderName("Trabex"));
    EXPECT_TRUE(CheckFolderName("a b.c"));
    EXPECT_TRUE(CheckFolderName("扩展绘图库"));
    EXPECT_FALSE(CheckFolderName(nullptr));
    EXPECT_FALSE(CheckFolderName(""));
    for (const char* bad : {" a", "a ", ".a", "a.", "\ta", "a\t"})
        EXPECT_FALSE(CheckFolderName(bad)) << "[" << bad << "]";
    for (char c : std::string("\"*/:<>?\\|"))
        EXPECT_FALSE(CheckFolderName((std::string("a") + c + "b").c_str())) << c;
    // Whole GBK characters: a second byte equal to '\' or '|' is no such character.
    EXPECT_TRUE(CheckFolderName("\x81\x5C"));
    EXPECT_TRUE(CheckFolderName("a\x81\x7C"));
}

TEST(CreateFolderPath, ValidatesTheFormOnly)
{
    EXPECT_EQ(kFolderOk, CreateFolderPath("C:\\", TRUE));
    EXPECT_EQ(kFolderOk, CreateFolderPath("Q:\\no\\such\\drive", TRUE));
    EXPECT_EQ(kFolderOk, CreateFolderPath("c:\\a\\\x81\x5C\\b", TRUE));
    for (const char* bad : {"", "C:", "C:x", "1:\\a", "Trabex", "\\Trabex", ".\\a", "\\\\server\\share",
                            "C:\\a\\", "C:\\a\\\\b", "C:\\ a", "C:\\a.\\b", "C:\\a|b", "C:\\a\\b?"})
        EXPECT_EQ(kFolderInvalid, CreateFolderPath(bad, TRUE)) << bad;
    EXPECT_EQ(kFolderInvalid, CreateFolderPath(nullptr, TRUE));
    EXPECT_EQ(kFolderInvalid, CreateFolderPath(("C:\\" + std::string(300, 'a')).c_str(), TRUE));
}

TEST(CreateFolderPath, CreatesMissingLevelsFromTheRootDown)
{
    TempFolder dir;
    const std::string path = dir / "one\\two\\三";
    EXPECT_EQ(kFolderOk, CreateFolderPath(path.c_str(), FALSE));
    EXPECT_TRUE(Disk::IsFolder(dir / "one\\two\\三"));
    EXPECT_EQ(kFolderOk, CreateFolderPath(path.c_str(), FALSE));  // existing levels pass
    // A level below a file cannot be made.
    Disk::WriteFile(dir / "file", "x");
    EXPECT_EQ(kFolderCannotCreate, CreateFolderPath((dir / "file\\sub").c_str(), FALSE));
    EXPECT_EQ(kFolderCannotCreate, CreateFolderPath("Q:\\no\\such\\drive", FALSE));
    EXPECT_EQ(kFolderCannotCreate, CreateFolderPath("Q:\\", FALSE));
}
