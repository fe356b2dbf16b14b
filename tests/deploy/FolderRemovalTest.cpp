#include "deploy/FolderRemoval.h"

#include <gtest/gtest.h>

#include "deploy/InstalledFiles.h"
#include "tests/support/TempFolder.h"

namespace {

CStringArray Paths(std::initializer_list<const char*> items)
{
    CStringArray list;
    for (const char* item : items)
        list.Add(item);
    return list;
}

} // namespace

// The uninstaller removes what the setup placed, and nothing of the user's.
TEST(RemoveInstallFolder, OnlyTheListedFilesGoAndTheUsersOwnStay)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    const std::string library = folder + "\\Trabex扩展绘图库";
    Disk::MakeFolder(folder);
    Disk::MakeFolder(library);
    for (const char* f : {"Trabex2010.ARX", "Uninstall.exe", "Trabex2008.ARX"})
        Disk::WriteFile(folder + "\\" + f, f);
    Disk::WriteFile(library + "\\门窗.dwg", "setup's");
    Disk::WriteFile(library + "\\我的图块.dwg", "the user's");
    Disk::WriteFile(folder + "\\notes.txt", "the user's");
    // A re-install adds to the list: the first version's files stay known.
    ASSERT_TRUE(AddInstalledFiles(folder.c_str(), Paths({"Trabex2008.ARX", "Trabex2010.ARX", "Old.ARX"})));
    ASSERT_TRUE(AddInstalledFiles(folder.c_str(), Paths({"TRABEX2010.ARX", "Uninstall.exe", "Trabex扩展绘图库\\门窗.dwg"})));
    CStringArray listed;
    ASSERT_TRUE(ReadInstalledFiles(folder.c_str(), listed));
    EXPECT_EQ(5, listed.GetSize());

    FilesLeft left;
    CStringArray removed;
    RemoveInstallFolder(folder.c_str(), left, "Uninstall.exe", false, &removed);
    EXPECT_TRUE(left.leftovers.IsEmpty());
    EXPECT_FALSE(left.bNoList);
    EXPECT_EQ(4, removed.GetSize());
    EXPECT_EQ((std::vector<std::string>{"Trabex扩展绘图库", "notes.txt"}), Disk::List(folder));
    EXPECT_EQ((std::vector<std::string>{"我的图块.dwg"}), Disk::List(library));
    ASSERT_EQ(2, left.kept.GetSize()) << "named in the final message";
    EXPECT_EQ(library, left.kept[0].Std());
    EXPECT_EQ(folder, left.kept[1].Std());

    // Without a list nothing in the folder is known to be the setup's: nothing goes.
    FilesLeft again;
    RemoveInstallFolder(folder.c_str(), again, "Uninstall.exe", false);
    EXPECT_TRUE(again.bNoList);
    EXPECT_EQ((std::vector<std::string>{"Trabex扩展绘图库", "notes.txt"}), Disk::List(folder));
}
