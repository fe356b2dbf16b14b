#include "deploy/FolderProtection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FolderSecurity.h"
#include "tests/support/TempFolder.h"

namespace {

struct Applied {
    std::string folder, sddl;
    bool isProtected;
};
std::vector<Applied> g_applied;

bool Record(const char* pszFolder, const char* pszSddl, bool bProtected)
{
    g_applied.push_back({pszFolder, pszSddl, bProtected});
    return true;
}

} // namespace

// Wine keeps no file access lists: the lists the program builds and applies are
// checked, and that Windows' own call takes them.
TEST(FolderProtection, TheAddOnsFolderLikeProgramFilesTheLibraryWritableByUsers)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    Disk::MakeFolder(folder);
    g_applied.clear();
    FolderSecurity::SetApplyForTesting(Record);
    CString failed;
    EXPECT_TRUE(ProtectInstallFolder(folder.c_str(), failed));
    // The library stays closed to users until its files are placed.
    EXPECT_EQ(1u, g_applied.size());
    EXPECT_TRUE(Disk::IsFolder(folder + "\\Trabex扩展绘图库"));
    EXPECT_TRUE(OpenLibraryToUsers(folder.c_str(), failed));
    FolderSecurity::SetApplyForTesting(nullptr);
    ASSERT_EQ(2u, g_applied.size());
    // Administrators and SYSTEM full control, Users read and execute, cut from the parent.
    EXPECT_EQ(folder, g_applied[0].folder);
    EXPECT_TRUE(g_applied[0].isProtected);
    EXPECT_EQ("D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", g_applied[0].sddl);
    // The library: Users may modify, on top of what it inherits from the folder.
    EXPECT_EQ(folder + "\\Trabex扩展绘图库", g_applied[1].folder);
    EXPECT_FALSE(g_applied[1].isProtected);
    EXPECT_EQ("D:AI(A;OICI;0x1301bf;;;BU)", g_applied[1].sddl);
    // The real call accepts both lists (Wine then forgets them).
    EXPECT_TRUE(FolderSecurity::Apply(folder.c_str(), kInstallFolderSddl, true));
    EXPECT_TRUE(FolderSecurity::Apply((folder + "\\Trabex扩展绘图库").c_str(), kLibrarySddl, false));
}
