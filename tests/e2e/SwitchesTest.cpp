// The switches administrators and deployment tools type, on the real programs:
// help that is help, /NORESTART taken, and a run where nobody can see a window.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/Texts.h"
#include "tests/e2e/MachineFixture.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/RegistryView.h"

namespace {

const char kRegistration2008[] = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Applications\\Trabex2008";

// The log (UTF-8) holds the program's text (GBK).
bool LogHas(const std::string& log, const char* gbk)
{
    return log.find(ToUtf8(gbk)) != std::string::npos;
}

// The simulated machine and a distribution folder with a payload, for exe.
class Switches : public ::testing::Test {
protected:
    explicit Switches(const std::string& exe = BuiltSetupExe()) : machine(FixturesDir()), setup(exe)
    {
        boxes.WatchAllProcesses();
    }

    void MakePayload() { ASSERT_TRUE(setup.MakeModulePayload()); }
    std::string Exe() const { return "\"" + setup.dist() + "\\SetUp.exe\""; }

    MachineFixture machine;
    SetupProcess setup;
    MessageBoxAnswerer boxes;
};

// setup_session0.exe, this build's SetUp.exe as it runs in session 0.
class SessionZero : public Switches {
protected:
    SessionZero() : Switches(BesideSetup("tests\\setup_session0.exe")) {}
};

} // namespace

TEST_F(Switches, HelpIsShownAsHelpAndEndsWithZero)
{
    EXPECT_EQ(0, RunToEnd(Exe() + " /?"));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Texts::kSetupHelp, boxes.Seen()[0].text) << "help, not the unrecognised command line";
    EXPECT_EQ(Texts::kCaptionSetup, boxes.Seen()[0].caption);
    EXPECT_EQ(0, RunToEnd(Exe() + " /help /S")) << "nothing shown";
    EXPECT_EQ(1u, boxes.Count());
    // The uninstaller answers before it looks for an installation.
    EXPECT_EQ(0, RunToEnd("\"" + BesideSetup("Uninstall.exe") + "\" /HELP"));
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(Texts::kUninstallHelp, boxes.Seen()[1].text);
    EXPECT_EQ(Texts::kCaptionUninstall, boxes.Seen()[1].caption);
    EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, kRegistration2008, "LOADER"));
}

TEST_F(Switches, NoRestartIsTakenAndIgnored)
{
    MakePayload();
    const std::string log = setup.root / "setup.log";
    EXPECT_EQ(0, RunToEnd(Exe() + " /S /NORESTART /LOG=" + log));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX", Reg::GetString(Reg::kMachine, kRegistration2008, "LOADER"));
    const std::string text = Disk::ReadFile(log);
    EXPECT_TRUE(LogHas(text, Texts::kLogNoRestartIgnored)) << text;
}

// SYSTEM under a deployment tool that forgot /S: no box waits forever for a
// click nobody can give; the run installs as /S would, and the log says why.
TEST_F(SessionZero, WithoutSilentTheRunIsUnattended)
{
    MakePayload();
    const std::string log = setup.root / "setup.log";
    EXPECT_EQ(0, RunToEnd(Exe() + " /LOG=" + log, 20000)) << "ended by itself, without a click";
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ("C:\\Trabex\\Q-Ostrevo\\Trabex2008.ARX", Reg::GetString(Reg::kMachine, kRegistration2008, "LOADER"));
    const std::string text = Disk::ReadFile(log);
    EXPECT_TRUE(LogHas(text, Texts::kLogNoDesktop)) << text;
    // And a command line it does not understand is only logged, as with /S.
    EXPECT_EQ(1, RunToEnd(Exe() + " /X", 20000));
    EXPECT_EQ(0u, boxes.Count());
}
