#include "picker/FolderPath.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "res/Texts.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempFolder.h"

namespace {

std::string Formatted(const char* format, const std::string& path)
{
    char buf[1024];
    std::snprintf(buf, sizeof buf, format, path.c_str());
    return buf;
}

} // namespace

TEST(ConfirmFolder, ExistingFolderOrFileIsAcceptedSilently)
{
    TempFolder dir;
    Disk::WriteFile(dir / "file", "x");
    MessageBoxAnswerer boxes;
    EXPECT_EQ(kFolderOk, ConfirmFolder(dir.Path().c_str()));
    EXPECT_EQ(kFolderOk, ConfirmFolder((dir / "file").c_str()));
    EXPECT_EQ(0u, boxes.Count());
}

TEST(ConfirmFolder, MissingFolderIsCreatedOnYesAndLeftOnNo)
{
    TempFolder dir;
    const std::string path = dir / "a\\b";
    {
        MessageBoxAnswerer boxes(std::vector<int>{IDNO});
        EXPECT_EQ(kFolderDeclined, ConfirmFolder(path.c_str()));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(Formatted(Texts::kPickerCreateFormat, path), boxes.Seen()[0].text);
        EXPECT_FALSE(Disk::IsFolder(dir / "a"));
    }
    {
        MessageBoxAnswerer boxes(std::vector<int>{IDYES});
        EXPECT_EQ(kFolderOk, ConfirmFolder(path.c_str()));
        EXPECT_EQ(1u, boxes.Count());
        EXPECT_TRUE(Disk::IsFolder(path));
    }
}

TEST(ConfirmFolder, InvalidAndUncreatableAreExplained)
{
    MessageBoxAnswerer boxes;
    EXPECT_EQ(kFolderInvalid, ConfirmFolder("relative\\path"));
    EXPECT_EQ(kFolderCannotCreate, ConfirmFolder("Q:\\no\\such\\drive"));  // Yes, then it fails
    const std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(3u, seen.size());  // the invalid warning; the question, then the failure
    EXPECT_EQ(Formatted(Texts::kPickerInvalidFormat, "relative\\path"), seen[0].text);
    EXPECT_EQ(Formatted(Texts::kPickerCreateFormat, "Q:\\no\\such\\drive"), seen[1].text);
    EXPECT_EQ(Formatted(Texts::kPickerCannotCreateFormat, "Q:\\no\\such\\drive"), seen[2].text);
}
