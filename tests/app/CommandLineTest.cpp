#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "framework/String.h"

// What a deployment tool may type, and what the programs take from it.
TEST(CommandLine, SwitchesAsInstallersReadThem)
{
    struct Case {
        const char* raw;
        bool understood, silent;
        const char* log;
        bool hasFolder;
        const char* folder;
    };
    const Case cases[] = {
        {"SetUp.exe", true, false, "", false, ""},
        {"\"C:\\a b\\SetUp.exe\"  /S", true, true, "", false, ""},
        {"SetUp.exe /s /log=C:\\l.txt", true, true, "C:\\l.txt", false, ""},
        {"SetUp.exe /LOG=\"C:\\a b\\setup.log\" /S", true, true, "C:\\a b\\setup.log", false, ""},
        // /D= takes the rest of the line, blanks and switch-like words included.
        {"SetUp.exe /S /D=C:\\Program Files\\Trabex /S  ", true, true, "", true, "C:\\Program Files\\Trabex /S"},
        {"SetUp.exe /d=\"D:\\CAD Tools\"", true, false, "", true, "D:\\CAD Tools"},
        // Not understood; a /S anywhere still keeps the run without windows.
        {"SetUp.exe /X /S", false, true, "", false, ""},
        {"SetUp.exe /Silent", false, false, "", false, ""},
        {"SetUp.exe /LOG=", false, false, "", false, ""},
        {"SetUp.exe /LOG=\"C:\\unclosed", false, false, "", false, ""},
    };
    auto text = [](const CStringW& s) { return CString::FromWide(s.GetString()).Std(); };
    for (const Case& c : cases) {
        CommandLine options;
        EXPECT_EQ(c.understood, ParseCommandLine(CStringW::FromText(c.raw), true, options)) << c.raw;
        EXPECT_EQ(c.silent, options.bSilent) << c.raw;
        EXPECT_EQ(c.log, text(options.strLog)) << c.raw;
        EXPECT_EQ(c.hasFolder, options.bHasFolder) << c.raw;
        EXPECT_EQ(c.folder, text(options.strFolder)) << c.raw;
    }
    CommandLine options;
    EXPECT_FALSE(ParseCommandLine(L"Uninstall.exe /S /D=C:\\x", false, options)) << "no folder to choose";
    EXPECT_TRUE(options.bSilent);
    // A path of any language arrives whole.
    EXPECT_TRUE(ParseCommandLine(L"SetUp.exe /LOG=C:\\S\x00F8ren\\l.txt /D=C:\\\xD55C", true, options));
    EXPECT_TRUE(options.strLog == CStringW(L"C:\\S\x00F8ren\\l.txt"));
    EXPECT_TRUE(options.strFolder == CStringW(L"C:\\\xD55C"));
}

// What deployment tools and administrators add: help in any case, and a
// /NORESTART that is accepted (the programs never restart anything).
TEST(CommandLine, HelpAndNoRestartAsAdministratorsTypeThem)
{
    struct Case {
        const char* raw;
        bool understood, help, noRestart, silent;
    };
    const Case cases[] = {
        {"SetUp.exe /?", true, true, false, false},
        {"SetUp.exe /help /S", true, true, false, true},
        {"Uninstall.exe /Help", true, true, false, false},
        {"SetUp.exe /S /norestart /LOG=l.txt", true, false, true, true},
        {"SetUp.exe /NORESTART", true, false, true, false},
        {"SetUp.exe /?x", false, false, false, false},
        {"SetUp.exe /NORESTARTS /S", false, false, false, true},
    };
    for (const Case& c : cases) {
        CommandLine options;
        EXPECT_EQ(c.understood, ParseCommandLine(CStringW::FromText(c.raw), true, options)) << c.raw;
        EXPECT_EQ(c.help, options.bHelp) << c.raw;
        EXPECT_EQ(c.noRestart, options.bNoRestart) << c.raw;
        EXPECT_EQ(c.silent, options.bSilent) << c.raw;
    }
}

// The per-user program's command line, as Active Setup's StubPath writes it.
TEST(CommandLine, PerUserProgramTakesOneModeAndTheFolder)
{
    struct Case {
        const char* raw;
        bool understood, remove;
        const char* folder;
        const char* log;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\\Ostrevo\\TrabexTrustedPath.exe\" /add \"C:\\Trabex Tools\\Q-Ostrevo\"", true, false,
         "C:\\Trabex Tools\\Q-Ostrevo", ""},
        {"TrabexTrustedPath.exe /REMOVE C:\\Trabex\\Q-Ostrevo /LOG=\"C:\\a b\\t.log\"", true, true,
         "C:\\Trabex\\Q-Ostrevo", "C:\\a b\\t.log"},
        {"TrabexTrustedPath.exe /log=t.log /add D:\\Q-Ostrevo", true, false, "D:\\Q-Ostrevo", "t.log"},
        {"TrabexTrustedPath.exe", false, false, "", ""},
        {"TrabexTrustedPath.exe /add", false, false, "", ""},
        {"TrabexTrustedPath.exe /add C:\\A\\Q-Ostrevo /remove C:\\B\\Q-Ostrevo", false, false, "", ""},
        {"TrabexTrustedPath.exe /add C:\\A\\Q-Ostrevo more", false, false, "C:\\A\\Q-Ostrevo", ""},
        {"TrabexTrustedPath.exe /S", false, false, "", ""},
    };
    auto text = [](const CStringW& s) { return CString::FromWide(s.GetString()).Std(); };
    for (const Case& c : cases) {
        TrustedPathCommand command;
        EXPECT_EQ(c.understood, ParseTrustedPathCommandLine(CStringW::FromText(c.raw), command)) << c.raw;
        if (!c.understood)
            continue;
        EXPECT_EQ(c.remove, command.bRemove) << c.raw;
        EXPECT_EQ(c.folder, text(command.strFolder)) << c.raw;
        EXPECT_EQ(c.log, text(command.strLog)) << c.raw;
    }
}
