// One removal's exit code and final message, whatever is found: a clean removal,
// a file held open, another installation's registration whose module is gone,
// a drawing of the user's in the library.
#include "sequence/RemovalSequence.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/Texts.h"
#include "tests/support/InstalledList.h"
#include "tests/support/NoteRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"
#include "tests/support/TempFolder.h"

namespace {

const std::string kProduct = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\";

// The part of one of the program's texts before its first %s, as the recorder keeps it (UTF-8).
std::string Head(const char* pszText)
{
    const std::string text = pszText;
    return NoteRecorder::Utf8(CStringW::FromText(text.substr(0, text.find('%')).c_str()));
}

enum Situation { kClean, kFileHeldOpen, kOthersModuleGone, kUsersDrawing };

} // namespace

TEST(RemovalSequence, ExitCodeAndFinalMessageFollowWhatWasLeft)
{
    const struct {
        Situation situation;
        ExitCode code;
        const char* opening;  // the final message starts so
        const char* note;     // and also holds this, or nullptr
    } cases[] = {
        {kClean, kExitDone, Texts::kUninstallDone, nullptr},
        {kFileHeldOpen, kExitWriteFailed, Texts::kUninstallLeftoversFormat, Texts::kLeftFileFormat},
        {kOthersModuleGone, kExitDone, Texts::kUninstallDone, Texts::kStaleRegistrationsFormat},
        {kUsersDrawing, kExitDone, Texts::kUninstallDone, Texts::kUninstallKeptFormat},
    };
    for (const auto& c : cases) {
        RegistrySandbox sandbox;
        TempFolder root;
        const std::string folder = root / "Q-Ostrevo";
        Disk::MakeFolder(folder);
        Disk::MakeFolder(folder + "\\Trabex扩展绘图库");
        for (const char* f : {"Trabex2010.ARX", "Trabex扩展绘图库\\门窗.dwg"})
            Disk::WriteFile(folder + "\\" + f, f);
        CStringArrayW listed;
        listed.Add(L"Trabex2010.ARX");
        listed.Add(CStringW::FromText("Trabex扩展绘图库\\门窗.dwg"));
        ASSERT_TRUE(AddInstalledFiles(folder.c_str(), listed));
        Reg::SetString(Reg::kMachine, kProduct, "AcadLocation", root / "AutoCAD 2010");
        Reg::SetString(Reg::kMachine, kProduct, "ProductName", "AutoCAD 2010");
        Reg::SetString(Reg::kMachine, kProduct + "Applications\\Trabex2010", "LOADER", folder + "\\Trabex2010.ARX");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.situation == kFileHeldOpen)
            held = CreateFileA((folder + "\\Trabex2010.ARX").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (c.situation == kOthersModuleGone)
            Reg::SetString(Reg::kMachine, kProduct + "Applications\\Trabex2009", "LOADER",
                           root / "Gone\\Q-Ostrevo\\Trabex2009.ARX");
        if (c.situation == kUsersDrawing)
            Disk::WriteFile(folder + "\\Trabex扩展绘图库\\我的.dwg", "the user's own");

        CAcadRegistry record;
        NoteRecorder reporter;
        RemovalSequence removal(record);
        ASSERT_EQ(kExitDone, removal.Prepare(folder.c_str(), reporter));
        const ExitCode code = removal.Run(reporter, "Uninstall.exe", false);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);

        EXPECT_EQ(c.code, code) << c.situation;
        ASSERT_FALSE(reporter.told.empty()) << c.situation;
        const std::string& message = reporter.told.back();
        EXPECT_EQ(0u, message.find(Head(c.opening))) << c.situation << ": " << message;
        if (c.note)
            EXPECT_NE(std::string::npos, message.find(Head(c.note))) << c.situation << ": " << message;
        EXPECT_EQ("<absent>", Reg::GetString(Reg::kMachine, kProduct + "Applications\\Trabex2010", "LOADER"))
            << c.situation;
    }
}
