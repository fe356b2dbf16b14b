// Every user of the machine: the Active Setup component the real programs write,
// and its StubPath run as Windows runs it at a user's logon (Wine never does):
// through cmd /c, with this test's HKEY_CURRENT_USER standing for that user's.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include "deploy/ActiveSetup.h"
#include "res/Texts.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"

namespace {

const std::string kAcad = "SOFTWARE\\Autodesk\\AutoCAD\\";
const std::string kProfile2008 = kAcad + "R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables";
const std::string kProfile2016 = kAcad + "R20.1\\ACAD-F001:804\\Profiles\\<<未命名配置>>\\Variables";
const std::string kDrafting2010 = kAcad + "R18.0\\ACAD-8001:804\\Profiles\\Drafting\\Variables";

void SetTrustedPaths(const std::string& variables, const std::string& value)
{
    ASSERT_TRUE(Reg::KeyExists(Reg::kUser, variables));
    Reg::SetString(Reg::kUser, variables, "TRUSTEDPATHS", value);
}

std::string TrustedPaths(const std::string& variables)
{
    return Reg::GetString(Reg::kUser, variables, "TRUSTEDPATHS");
}

std::string SharedProgram()
{
    char programFiles[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
    return std::string(programFiles) + "\\Ostrevo\\TrabexTrustedPath-2026.3.31.exe";
}

// This user's record of the component, as Windows keeps it for this build's view.
std::string UserRecordVersion()
{
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const std::string id = std::string(kActiveSetupKey).substr(std::string(kActiveSetupKey).rfind('\\'));
    return Reg::GetString(Reg::kUser,
                 std::string(wow64 ? "Software\\Wow6432Node" : "Software") +
                     "\\Microsoft\\Active Setup\\Installed Components" + id,
                 "Version");
}

std::string Beside(const std::string& exe, const char* name)
{
    return exe.substr(0, exe.rfind('\\') + 1) + name;
}

class EveryUser : public ::testing::Test {
protected:
    EveryUser() : machine(FixturesDir()) { boxes.WatchAllProcesses(); }

    // A distribution with the real programs in Data; SetUp.exe /S installs into C:\Trabex.
    void Install()
    {
        Disk::MakeFolder(setup.data());
        for (const char* f :
             {"Trabex2008.ARX", "Trabex2010.ARX", "Trabex2015.ARX", "Trabex_EN.shx", "Trabex_HZ.shx", "Trabex.prt5"})
            Disk::WriteFile(setup.data() + "\\" + f, f);
        for (const char* program : {"Uninstall.exe", "TrabexTrustedPath.exe"})
            ASSERT_TRUE(CopyFileA(Beside(BuiltSetupExe(), program).c_str(), (setup.data() + "\\" + program).c_str(),
                                  FALSE));
        ASSERT_EQ(0, RunToEnd("\"" + setup.dist() + "\\SetUp.exe\" /S"));
    }
    // The component's StubPath, run as Windows runs it at a logon.
    int RunStubPath() const
    {
        return RunToEnd("cmd.exe /c \"" + Reg::GetString(Reg::kMachine, kActiveSetupKey, "StubPath") + "\"");
    }
    std::string Component(const char* name) const { return Reg::GetString(Reg::kMachine, kActiveSetupKey, name); }

    MachineFixture machine;
    SetupProcess setup;
    MessageBoxAnswerer boxes;  // none expected: every run here is silent
};

} // namespace

TEST_F(EveryUser, TheSetupRegistersTheStepAndItsStubPathGivesTheUserTheFolderBack)
{
    // An earlier version's copy that a user's logon holds open: no reason to fail.
    const std::string shared = SharedProgram().substr(0, SharedProgram().rfind('\\'));
    const std::string older = shared + "\\TrabexTrustedPath-2026.3.30.exe";
    Disk::MakeFolder(shared);
    Disk::WriteFile(older, "an earlier version");
    const HANDLE held = CreateFileA(older.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Install();
    CloseHandle(held);
    // The component, in the setup's own registry view only.
    EXPECT_EQ(Texts::kActiveSetupName, Component(""));
    EXPECT_EQ("\"" + SharedProgram() + "\" /add \"C:\\Trabex\\Q-Ostrevo\"", Component("StubPath"));
    EXPECT_EQ("2026,3,31,0", Component("Version"));
    EXPECT_EQ("1", Component("IsInstalled"));
    EXPECT_EQ("<absent>", Reg::GetString(Reg::Place{HKEY_LOCAL_MACHINE, Reg::kOtherView}, kActiveSetupKey, "StubPath"));
    // The program it names is the installed one, in a folder of its own.
    EXPECT_EQ(Disk::ReadFile("C:\\Trabex\\Q-Ostrevo\\TrabexTrustedPath.exe"), Disk::ReadFile(SharedProgram()));
    // The installing user got the step here and now, and is recorded as having had it.
    EXPECT_EQ("C:\\TOOLS\\LISP;C:\\TRABEX\\Q-OSTREVO", TrustedPaths(kProfile2008));
    EXPECT_EQ("2026,3,31,0", UserRecordVersion());

    // A user whose profiles do not hold the folder yet: the entries come, the others stay.
    SetTrustedPaths(kProfile2008, "C:\\TOOLS\\LISP");
    SetTrustedPaths(kDrafting2010, "");
    const std::string other2016 = TrustedPaths(kProfile2016);
    EXPECT_EQ(0, RunStubPath());
    EXPECT_EQ("C:\\TOOLS\\LISP;C:\\TRABEX\\Q-OSTREVO", TrustedPaths(kProfile2008));
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo", TrustedPaths(kDrafting2010));
    EXPECT_EQ(other2016, TrustedPaths(kProfile2016));
    // Again at the next logon (a raised Version, a second user's hive): nothing
    // doubled (a value that holds the folder is written back upper-cased).
    EXPECT_EQ(0, RunStubPath());
    EXPECT_EQ("C:\\TOOLS\\LISP;C:\\TRABEX\\Q-OSTREVO", TrustedPaths(kProfile2008));
    EXPECT_EQ("C:\\TRABEX\\Q-OSTREVO", TrustedPaths(kDrafting2010));
    EXPECT_EQ(other2016, TrustedPaths(kProfile2016));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(EveryUser, TheRemovalReachesEveryUserAfterTheFolderIsGoneAndAReinstallTakesOver)
{
    Install();
    EXPECT_EQ(0, RunToEnd("\"C:\\Trabex\\Q-Ostrevo\\Uninstall.exe\" /S"));
    for (int waited = 0; Disk::IsFolder("C:\\Trabex") && waited < 20000; waited += 50)
        Sleep(50);
    ASSERT_FALSE(Disk::IsFolder("C:\\Trabex"));
    WaitForProcessesNamed("Uninstall.exe", 20000);  // its copy holds the one-run name to its end
    EXPECT_EQ("1", Component("IsInstalled")) << "Windows runs no StubPath of a component that says 0";
    EXPECT_EQ("\"" + SharedProgram() + "\" /remove \"C:\\Trabex\\Q-Ostrevo\"", Component("StubPath"));
    EXPECT_EQ("2", Component("DontAsk"));
    EXPECT_EQ("2026,3,31,1", Component("Version"));
    EXPECT_EQ("2026,3,31,1", UserRecordVersion()) << "the uninstaller removed this user's entries itself";
    EXPECT_EQ("C:\\TOOLS\\LISP", TrustedPaths(kProfile2008));

    // Another user, whose profiles still hold the folder: the removal at their logon.
    SetTrustedPaths(kProfile2008, "C:\\TOOLS\\LISP;C:\\TRABEX\\Q-OSTREVO");
    SetTrustedPaths(kProfile2016, "D:\\COMPANY\\BLOCKS\\...;C:\\TRABEX\\Q-OSTREVO2;C:\\TRABEX\\Q-OSTREVO");
    EXPECT_EQ(0, RunStubPath());
    EXPECT_EQ("C:\\TOOLS\\LISP", TrustedPaths(kProfile2008));
    EXPECT_EQ("D:\\COMPANY\\BLOCKS\\...;C:\\TRABEX\\Q-OSTREVO2", TrustedPaths(kProfile2016));

    // A later install takes the one component back over, with a higher Version.
    Install();
    EXPECT_EQ("1", Component("IsInstalled"));
    EXPECT_EQ("\"" + SharedProgram() + "\" /add \"C:\\Trabex\\Q-Ostrevo\"", Component("StubPath"));
    EXPECT_EQ("2026,3,31,2", Component("Version"));
    // A user away since an earlier installation elsewhere was removed: its removal
    // gave way to this install's step, which takes the gone folder's entry out
    // (anybody could make it again) and keeps every other.
    SetTrustedPaths(kProfile2016, "D:\\COMPANY\\BLOCKS\\...;C:\\GONE\\Q-OSTREVO;C:\\GONE\\LISP;C:\\TRABEX\\Q-OSTREVO");
    EXPECT_EQ(0, RunStubPath());
    EXPECT_EQ("D:\\COMPANY\\BLOCKS\\...;C:\\GONE\\LISP;C:\\TRABEX\\Q-OSTREVO", TrustedPaths(kProfile2016));
    EXPECT_EQ(0u, boxes.Count());
}
