// The install's own folders: made protected in the same call, or taken over
// before anything is copied into them.
#include "sequence/InstallSequence.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <string>
#include <vector>

#include "deploy/TrustedPathProgram.h"
#include "deploy/UninstallEntry.h"
#include "platform/FolderSecurity.h"
#include "tests/support/NoteRecorder.h"
#include "tests/support/PayloadFixture.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

namespace {

struct Applied {
    std::string folder, sddl;
    bool payloadThere;  // a payload file already lay in the install folder then
};
std::vector<Applied> g_applied;
std::string g_install;

bool Record(const char* pszFolder, const char* pszSddl, bool)
{
    g_applied.push_back({pszFolder, pszSddl, Disk::IsFile(g_install + "\\Trabex2010.ARX")});
    return true;
}

// Wine keeps no file access lists: the lists the install applies are recorded.
class InstallFolders : public ::testing::Test {
protected:
    InstallFolders()
    {
        payload.MakeData({"Trabex2010.ARX", "Uninstall.exe", "TrabexTrustedPath.exe"});
        chosen = payload.root / "Tools";
        g_install = chosen + "\\Q-Ostrevo";
        g_applied.clear();
        FolderSecurity::SetApplyForTesting(Record);
    }
    ~InstallFolders() override
    {
        FolderSecurity::SetApplyForTesting(nullptr);
        Disk::RemoveTree(SharedTrustedPathFolder().Std());  // the copy every user runs
    }

    ExitCode Check(InstallPlan& plan)
    {
        InstallChoice choice;
        choice.strFolder = CStringW::FromText(chosen.c_str());
        for (BOOL& t : choice.ticked)
            t = FALSE;
        return sequence.Check(choice, false, plan);
    }

    RegistrySandbox sandbox;
    PayloadFixture payload;
    CAcadRegistry record;
    NoteRecorder reporter;
    InstallSequence sequence{record, reporter};
    std::string chosen;
};

} // namespace

TEST_F(InstallFolders, FoldersMadeOnTheWayAreProtectedInTheSameCall)
{
    InstallPlan plan;
    ASSERT_EQ(kExitDone, Check(plan));
    EXPECT_FALSE(plan.bTakeOver);
    ASSERT_EQ(2u, g_applied.size());
    EXPECT_EQ(chosen, g_applied[0].folder);
    EXPECT_EQ(g_install, g_applied[1].folder);
    for (const Applied& a : g_applied)
        EXPECT_EQ("O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", a.sddl) << a.folder;
    EXPECT_TRUE(Disk::IsFolder(g_install));
}

TEST_F(InstallFolders, AFolderThatWasThereIsTakenOverBeforeAnythingIsCopied)
{
    // Anyone may have made it first, and left a module of their own in it.
    Disk::MakeFolder(chosen);
    Disk::MakeFolder(g_install);
    Disk::WriteFile(g_install + "\\Planted.arx", "someone else's");
    InstallPlan plan;
    ASSERT_EQ(kExitDone, Check(plan));
    EXPECT_TRUE(plan.bTakeOver);
    EXPECT_TRUE(g_applied.empty()) << "nothing made: nothing to protect yet";

    ASSERT_EQ(kExitDone, sequence.Run(plan));
    ASSERT_FALSE(g_applied.empty());
    EXPECT_EQ(g_install, g_applied[0].folder) << "the whole tree, owner and list, first";
    EXPECT_EQ("O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", g_applied[0].sddl);
    EXPECT_FALSE(g_applied[0].payloadThere) << "protected before anything is copied";
    EXPECT_TRUE(Disk::IsFile(g_install + "\\Trabex2010.ARX"));
    EXPECT_EQ("someone else's", Disk::ReadFile(g_install + "\\Planted.arx")) << "no file is deleted";
}

namespace {

// Owners and lists as Windows would keep them: every folder another user's,
// the drive roots excepted.
const char* OthersOwnAllButRoots(const CStringW& folder)
{
    return folder.GetLength() <= 3 ? "O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
                                   : "O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;S-1-5-21-1-2-3-1001)";
}

} // namespace

// "C:\" chosen (the dialog, the picker or /D=): to Windows "C:" alone is the
// drive's current folder, which is not the folder chosen and must not be judged,
// nor named in a question.
TEST_F(InstallFolders, ADriveChosenAsTheFolderIsJudgedAsItsRoot)
{
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(payload.root.Path().c_str()));
    ASSERT_EQ(':', payload.root.Path()[1]);
    chosen = payload.root.Path().substr(0, 3);
    g_install = chosen + "Q-Ostrevo";
    FolderSecurity::SetDescribeForTesting(OthersOwnAllButRoots);
    InstallPlan plan;
    const ExitCode code = Check(plan);
    FolderSecurity::SetDescribeForTesting(nullptr);
    SetCurrentDirectoryA(before);
    Disk::RemoveTree(g_install);
    EXPECT_EQ(kExitDone, code);
    EXPECT_TRUE(reporter.told.empty()) << reporter.told.front();
    EXPECT_EQ(g_install, plan.strInstallFolder.Std());
}

namespace {

// Sets a key's list from SDDL text in the program's own view; true when done.
bool SetKeyDacl(const char* path, const char* sddl)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, WRITE_DAC | Reg::kOwnView, &h) != ERROR_SUCCESS)
        return false;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr) &&
                    RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    LocalFree(sd);
    RegCloseKey(h);
    return ok;
}

} // namespace

// Without its Apps & Features entry an installation is one no deployment tool
// detects and Settings cannot remove: a write failure (exit 8), never success.
TEST_F(InstallFolders, AnAppsAndFeaturesEntryNotWrittenIsAFailure)
{
    Reg::CreateKey(Reg::kMachine, kUninstallEntryKey);
    ASSERT_TRUE(SetKeyDacl(kUninstallEntryKey, "D:P(A;;KR;;;WD)"));
    HKEY probe = nullptr;
    const bool enforced = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallEntryKey, 0, KEY_SET_VALUE | Reg::kOwnView,
                                        &probe) != ERROR_SUCCESS;
    if (probe)
        RegCloseKey(probe);
    InstallPlan plan;
    ExitCode code = kExitDone;
    if (enforced && Check(plan) == kExitDone)
        code = sequence.Run(plan);
    SetKeyDacl(kUninstallEntryKey, "D:P(A;;KA;;;WD)");
    if (!enforced)
        GTEST_SKIP() << "this Wine does not enforce registry key security";
    EXPECT_EQ(kExitWriteFailed, code);
    ASSERT_FALSE(reporter.told.empty());
    EXPECT_NE(std::string::npos, reporter.told.back().find(kUninstallEntryKey)) << reporter.told.back();
}
