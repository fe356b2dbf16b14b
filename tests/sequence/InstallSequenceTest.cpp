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

bool Record(const CStringW& strFolder, const wchar_t* pszSddl, bool)
{
    g_applied.push_back({CString::FromWide(strFolder.GetString()).Std(), CString::FromWide(pszSddl).Std(), Disk::IsFile(g_install + "\\Trabex2010.ARX")});
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
    EXPECT_FALSE(plan.bExisted);
    ASSERT_EQ(2u, g_applied.size());
    EXPECT_EQ(chosen, g_applied[0].folder);
    EXPECT_EQ(g_install, g_applied[1].folder);
    for (const Applied& a : g_applied)
        EXPECT_EQ("O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", a.sddl) << a.folder;
    EXPECT_TRUE(Disk::IsFolder(g_install));
}

TEST_F(InstallFolders, AnEarlierInstallsFolderIsProtectedItselfAndOnlyTheAddOnsFilesReplaced)
{
    // An earlier install's folder (owned by this account here, as Wine says of
    // every folder), with a drawing of a user's in its library.
    Disk::MakeFolder(chosen);
    Disk::MakeFolder(g_install);
    Disk::MakeFolder(g_install + "\\Trabex扩展绘图库");
    Disk::WriteFile(g_install + "\\Trabex扩展绘图库\\我的.dwg", "a user's drawing");
    Disk::WriteFile(g_install + "\\Trabex2010.ARX", "the earlier version");
    InstallPlan plan;
    ASSERT_EQ(kExitDone, Check(plan));
    EXPECT_TRUE(plan.bExisted);
    EXPECT_TRUE(g_applied.empty()) << "nothing made: nothing to protect yet";

    ASSERT_EQ(kExitDone, sequence.Run(plan));
    ASSERT_FALSE(g_applied.empty());
    EXPECT_EQ(g_install, g_applied[0].folder);
    for (size_t i = 1; i < g_applied.size(); ++i)
        EXPECT_EQ(std::string::npos, g_applied[i].folder.find(g_install))
            << g_applied[i].folder << ": the folder itself only, never the library or the drawings";
    EXPECT_EQ("O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", g_applied[0].sddl);
    EXPECT_EQ("Trabex2010.ARX", Disk::ReadFile(g_install + "\\Trabex2010.ARX"));
    EXPECT_EQ("a user's drawing", Disk::ReadFile(g_install + "\\Trabex扩展绘图库\\我的.dwg"));
}

namespace {

// Owners and lists as Windows would keep them, by folder: the chosen folder and
// the install folder as the case says, every other folder Administrators'.
const wchar_t kAdmins[] = L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
const wchar_t kAnotherUser[] = L"O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;0x1200a9;;;BU)";
// Administrators' own, but any signed-in user may delete (so rename) what it holds.
const wchar_t kUsersDeleteChildren[] = L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x1200e9;;;AU)";
const wchar_t* g_chosenSddl = kAdmins;
const wchar_t* g_installSddl = kAdmins;
const wchar_t* g_moduleSddl = kAdmins;  // Trabex2010.ARX in the install folder
std::string g_chosen;

const wchar_t* DescribeCase(const CStringW& folder)
{
    const std::string path = CString::FromWide(folder.GetString(), folder.GetLength()).Std();
    if (_stricmp(path.c_str(), g_install.c_str()) == 0)
        return g_installSddl;
    if (_stricmp(path.c_str(), (g_install + "\\Trabex2010.ARX").c_str()) == 0)
        return g_moduleSddl;
    if (_stricmp(path.c_str(), g_chosen.c_str()) == 0)
        return g_chosenSddl;
    return kAdmins;
}

} // namespace

// Nobody else's folder is filled: a folder on the way that another user owns is
// asked about (No by default; unattended, taken only when /D= named exactly it),
// and an install folder another user owns is refused outright, untouched.
TEST_F(InstallFolders, NobodyElsesFolderIsFilled)
{
    const struct {
        const wchar_t* chosenSddl;
        const wchar_t* installSddl;
        bool namedOnCommandLine;
        ExitCode code;
        bool asked;
        const char* why;
        bool moduleOthers;  // Trabex2010.ARX in the install folder is another user's
    } cases[] = {
        {kAdmins, kAdmins, false, kExitDone, false, "an earlier install's folder is used", false},
        {kAdmins, kAnotherUser, false, kExitFolderRefused, false, "a foreign Q-Ostrevo is refused", false},
        {kAdmins, kAnotherUser, true, kExitFolderRefused, false, "also when /D= named the folder above it", false},
        {kAnotherUser, kAdmins, false, kExitFolderRefused, true, "the default folder, made by a user: refused", false},
        {kAnotherUser, kAdmins, true, kExitDone, true, "/D= named it: warned and used", false},
        {kUsersDeleteChildren, kAdmins, false, kExitFolderRefused, true,
         "users may rename Q-Ostrevo away through the folder above it: refused", false},
        {kUsersDeleteChildren, kAdmins, true, kExitDone, true, "the same, /D= named that folder: warned and used", false},
        {kAdmins, kAdmins, true, kExitFolderRefused, false, "a module in an earlier install's folder a user owns", true},
    };
    for (const auto& c : cases) {
        Disk::MakeFolder(chosen);
        Disk::MakeFolder(g_install);
        Disk::WriteFile(g_install + "\\Trabex2010.ARX", "someone's module");
        g_chosen = chosen;
        g_chosenSddl = c.chosenSddl;
        g_installSddl = c.installSddl;
        g_moduleSddl = c.moduleOthers ? kAnotherUser : kAdmins;
        g_applied.clear();
        reporter.told.clear();
        FolderSecurity::SetDescribeForTesting(DescribeCase);
        InstallChoice choice;
        choice.strFolder = CStringW::FromText(chosen.c_str());
        choice.bNamedOnCommandLine = c.namedOnCommandLine;
        for (BOOL& t : choice.ticked)
            t = FALSE;
        InstallPlan plan;
        const ExitCode code = sequence.Check(choice, false, plan);
        FolderSecurity::SetDescribeForTesting(nullptr);
        EXPECT_EQ(c.code, code) << c.why;
        ASSERT_EQ(c.code == kExitDone ? size_t(c.asked ? 1 : 0) : size_t(1), reporter.told.size()) << c.why;
        // The question or refusal names the folder at risk and, where another user owns it, that user.
        if (!reporter.told.empty()) {
            const std::string named = c.chosenSddl == kUsersDeleteChildren ? g_install : "S-1-5-21-1-2-3-1001";
            EXPECT_NE(std::string::npos, reporter.told[0].find(named)) << c.why << reporter.told[0];
        }
        EXPECT_TRUE(g_applied.empty()) << c.why << ": nothing is set on a folder that was there";
        EXPECT_EQ("someone's module", Disk::ReadFile(g_install + "\\Trabex2010.ARX")) << c.why;
        Disk::RemoveTree(chosen);
    }
}

namespace {

// Owners and lists as Windows would keep them: every folder another user's,
// the drive roots excepted.
const wchar_t* OthersOwnAllButRoots(const CStringW& folder)
{
    // The install folder is the setup's own: it makes it with its list.
    const bool ours = CString::FromWide(folder.GetString(), folder.GetLength()).CompareNoCase(g_install.c_str()) == 0;
    return folder.GetLength() <= 3 || ours ? L"O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
                                           : L"O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;S-1-5-21-1-2-3-1001)";
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
