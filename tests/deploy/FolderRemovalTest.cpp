#include "deploy/FolderRemoval.h"

#include <gtest/gtest.h>

#include "deploy/InstalledFiles.h"
#include "tests/support/InstalledList.h"
#include "tests/support/TempFolder.h"

namespace {

CStringArrayW Paths(std::initializer_list<const char*> items)
{
    CStringArrayW list;
    for (const char* item : items)
        list.Add(CStringW::FromText(item));
    return list;
}

std::string Text(const CStringW& s)
{
    return CString::FromWide(s.GetString()).Std();
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
    CStringArrayW listed;
    ASSERT_TRUE(ReadInstalledFiles(folder.c_str(), listed));
    EXPECT_EQ(5, listed.GetSize());

    FilesLeft left;
    CStringArrayW removed;
    RemoveInstallFolder(folder.c_str(), left, "Uninstall.exe", false, &removed);
    EXPECT_TRUE(left.leftovers.IsEmpty());
    EXPECT_FALSE(left.bNoList);
    EXPECT_EQ(4, removed.GetSize());
    EXPECT_EQ((std::vector<std::string>{"Trabex扩展绘图库", "notes.txt"}), Disk::List(folder));
    EXPECT_EQ((std::vector<std::string>{"我的图块.dwg"}), Disk::List(library));
    ASSERT_EQ(2, left.kept.GetSize()) << "named in the final message";
    EXPECT_EQ(library, Text(left.kept[0]));
    EXPECT_EQ(folder, Text(left.kept[1]));

    // Without a list nothing in the folder is known to be the setup's: nothing goes.
    FilesLeft again;
    RemoveInstallFolder(folder.c_str(), again, "Uninstall.exe", false);
    EXPECT_TRUE(again.bNoList);
    EXPECT_EQ((std::vector<std::string>{"Trabex扩展绘图库", "notes.txt"}), Disk::List(folder));
}

// A list in the form setups before the mark wrote (GBK, no mark) is read as GBK;
// the list the setup writes keeps a name of any language (UTF-8 with its mark).
TEST(InstalledFiles, TheEarlierListIsReadAndNoNameLosesACharacter)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    Disk::MakeFolder(folder);
    Disk::WriteFile(folder + "\\InstalledFiles.lst", "Trabex2010.ARX\r\nTrabex扩展绘图库\\门窗.dwg\r\n");
    CStringArrayW listed;
    ASSERT_TRUE(ReadInstalledFiles(folder.c_str(), listed));
    ASSERT_EQ(2, listed.GetSize());
    EXPECT_EQ("Trabex扩展绘图库\\门窗.dwg", Text(listed[1]));

    CStringArrayW added;
    added.Add(CStringW(L"Trabex\x6269\x5C55\x7ED8\x56FE\x5E93\\S\x00F8ren.dwg"));
    ASSERT_TRUE(AddInstalledFiles(folder.c_str(), added));
    EXPECT_EQ("\xEF\xBB\xBF", Disk::ReadFile(folder + "\\InstalledFiles.lst").substr(0, 3));
    CStringArrayW again;
    ASSERT_TRUE(ReadInstalledFiles(folder.c_str(), again));
    ASSERT_EQ(3, again.GetSize());
    EXPECT_TRUE(again[0] == CStringW(L"Trabex2010.ARX"));
    EXPECT_TRUE(again[1] == CStringW::FromText("Trabex扩展绘图库\\门窗.dwg"));
    EXPECT_TRUE(again[2] == added[0]);
}

// A list another program holds shut is not rewritten empty: its files would be
// lost to every later uninstall.
TEST(InstalledFiles, AListThatCannotBeReadIsNeverReplaced)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    Disk::MakeFolder(folder);
    const std::string list = folder + "\\InstalledFiles.lst";
    Disk::WriteFile(list, "Trabex2010.ARX\r\n");
    HANDLE held = CreateFileW(CStringW::FromText(list.c_str()).GetString(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    InstalledFilesJournal journal;
    const WinResult opened = journal.Open(folder.c_str());
    CloseHandle(held);
    EXPECT_FALSE(opened);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), opened.Code());
    EXPECT_EQ("Trabex2010.ARX\r\n", Disk::ReadFile(list));
}
