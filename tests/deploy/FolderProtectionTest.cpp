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

bool Record(const CStringW& strFolder, const wchar_t* pszSddl, bool bProtected)
{
    g_applied.push_back({CString::FromWide(strFolder.GetString()).Std(), CString::FromWide(pszSddl).Std(), bProtected});
    return true;
}

} // namespace

// Wine keeps no file access lists: the lists the program builds and applies are
// checked, and that Windows' own calls take them.
TEST(FolderProtection, TheLibraryMadeClosedThenOpenedToUsersForWhatItHoldsOnly)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    Disk::MakeFolder(folder);
    g_applied.clear();
    FolderSecurity::SetApplyForTesting(Record);
    CString failed;
    bool made = false;
    EXPECT_TRUE(MakeLibrary(folder.c_str(), made, failed));
    EXPECT_TRUE(made);
    // Made with the install folder's list: closed to users until its files are placed.
    ASSERT_EQ(1u, g_applied.size());
    EXPECT_EQ(folder + "\\Trabex扩展绘图库", g_applied[0].folder);
    EXPECT_EQ("O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", g_applied[0].sddl);
    EXPECT_TRUE(Disk::IsFolder(folder + "\\Trabex扩展绘图库"));
    EXPECT_TRUE(OpenLibraryToUsers(folder.c_str(), failed));
    // A library that is there already (users' drawings in it) is left as it is.
    EXPECT_TRUE(MakeLibrary(folder.c_str(), made, failed));
    EXPECT_FALSE(made);
    FolderSecurity::SetApplyForTesting(nullptr);
    ASSERT_EQ(2u, g_applied.size());
    // Users: read, run and add on the library itself, but no DELETE or WRITE_DAC
    // (they could move it away with others' drawings); modify what lies inside.
    EXPECT_EQ(folder + "\\Trabex扩展绘图库", g_applied[1].folder);
    EXPECT_FALSE(g_applied[1].isProtected);
    EXPECT_EQ("D:AI(A;;0x1200af;;;BU)(A;OICIIO;0x1301bf;;;BU)", g_applied[1].sddl);
    EXPECT_FALSE(FolderSecurity::OthersCanReplace((L"O:BA" + std::wstring(kLibrarySddl)).c_str(), nullptr, nullptr))
        << "users cannot rename, delete or re-permit the library";
    // The real calls accept the lists (Wine then forgets them).
    EXPECT_TRUE(FolderSecurity::Apply(CStringW::FromText((folder + "\\Trabex扩展绘图库").c_str()), kLibrarySddl, false));
    EXPECT_TRUE(FolderSecurity::ProtectItself(CStringW::FromText(folder.c_str()), kProtectedFolderSddl));
}
