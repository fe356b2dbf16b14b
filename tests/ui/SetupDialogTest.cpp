#include "ui/SetupDialog.h"

#include <gtest/gtest.h>

#include "platform/BuildConstants.h"
#include "tests/ui/DialogHarness.h"

namespace {

bool Withheld(int year)
{
    return g_nTargetBits == 32 && year >= 2017;
}

} // namespace

TEST(SetupDialog, NothingFoundDisablesEveryReleaseAndInstall)
{
    DialogHarness h({});
    for (int y = 2007; y <= 2027; ++y) {
        EXPECT_FALSE(h.Enabled(CheckId(y))) << y;
        EXPECT_FALSE(h.Checked(CheckId(y))) << y;
        EXPECT_EQ(!Withheld(y), h.Visible(CheckId(y))) << y;
    }
    EXPECT_FALSE(h.Enabled(IDC_INSTALL));
    EXPECT_TRUE(h.Visible(IDC_INSTALL));
}

TEST(SetupDialog, OnlyAWithheldReleaseFound)
{
    DialogHarness h({2018});
    if (g_nTargetBits == 32) {
        for (int y = 2007; y <= 2016; ++y)
            EXPECT_FALSE(h.Enabled(CheckId(y))) << y;
        for (int y = 2017; y <= 2027; ++y)
            EXPECT_FALSE(h.Visible(CheckId(y))) << y;
        EXPECT_FALSE(h.Checked(CheckId(2018)));
        EXPECT_FALSE(h.Enabled(IDC_INSTALL));
    } else {
        EXPECT_TRUE(h.Visible(CheckId(2018)));
        EXPECT_TRUE(h.Enabled(CheckId(2018)));
        EXPECT_TRUE(h.Checked(CheckId(2018)));
        EXPECT_TRUE(h.Enabled(IDC_INSTALL));
    }
}

TEST(SetupDialog, FoundReleasesStartTickedAndDriveTheInstallButton)
{
    DialogHarness h({2010, 2016});
    for (int y = 2007; y <= 2027; ++y) {
        const bool found = y == 2010 || y == 2016;
        EXPECT_EQ(found, h.Enabled(CheckId(y))) << y;
        EXPECT_EQ(found, h.Checked(CheckId(y))) << y;
    }
    EXPECT_TRUE(h.Enabled(IDC_INSTALL));
    h.Click(CheckId(2010));
    EXPECT_TRUE(h.Enabled(IDC_INSTALL));
    h.Click(CheckId(2016));
    EXPECT_FALSE(h.Enabled(IDC_INSTALL));
    EXPECT_FALSE(h.dlg.m_bAcad2010);
    h.Click(CheckId(2016));
    EXPECT_TRUE(h.Enabled(IDC_INSTALL));
    EXPECT_TRUE(h.dlg.m_bAcad2016);
}

TEST(SetupDialog, CheckBoxIds1027And1026BelongTo2010And2011)
{
    EXPECT_EQ(1027, CheckId(2010));
    EXPECT_EQ(1026, CheckId(2011));
    DialogHarness h({2010});
    EXPECT_TRUE(h.Enabled(1027));
    EXPECT_FALSE(h.Enabled(1026));
    EXPECT_EQ("For AutoCAD2010", h.Text(1027));
    EXPECT_EQ("For AutoCAD2011", h.Text(1026));
    EXPECT_TRUE(h.dlg.m_bAcad2010);
    EXPECT_FALSE(h.dlg.m_bAcad2011);
}

TEST(SetupDialog, TitleEditionFolderAndHiddenItems)
{
    DialogHarness h({2008});
    EXPECT_EQ("Ostrevo软件 V2026.03.31", h.Text(IDC_TITLE));
    EXPECT_EQ(g_nTargetBits == 32 ? "( 32位 AutoCAD版 )" : "( 64位 AutoCAD版 )", h.Text(IDC_EDITION));
    EXPECT_EQ("C:\\Trabex", h.Text(IDC_INSTALL_PATH));
    char caption[64] = {};
    GetWindowTextA(h.Hwnd(), caption, sizeof caption);
    EXPECT_STREQ("Q-Ostrevo安装", caption);
    for (int id : {IDOK, IDC_DONE_LABEL, IDC_MENU_PREVIEW, IDC_PROGRESS})
        EXPECT_FALSE(h.Visible(id)) << id;
    for (int id : {IDCANCEL, IDC_INSTALL, IDC_BROWSE, IDC_INSTALL_PATH, IDC_PATH_LABEL})
        EXPECT_TRUE(h.Visible(id)) << id;
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(SendMessageA(h.Hwnd(), WM_GETICON, ICON_SMALL, 0)));
}

TEST(SetupDialog, VersionTitleKeepsTwoDigitsForMinorAndPatch)
{
    EXPECT_STREQ("Ostrevo软件 V2026.03.31", ComposeSetupTitle(20260331).GetString());
    EXPECT_STREQ("Ostrevo软件 V2026.11.05", ComposeSetupTitle(20261105).GetString());
    EXPECT_STREQ("Ostrevo软件 V2026.01.00", ComposeSetupTitle(20260100).GetString());
    EXPECT_STREQ("Ostrevo软件 V2027.12.10", ComposeSetupTitle(20271210).GetString());
}

TEST(SetupDialog, EnterNeverEndsTheDialogOutsideAPushButton)
{
    DialogHarness h({2010});
    h.PressKey(IDC_INSTALL_PATH, VK_RETURN);
    EXPECT_EQ(0, h.dlg.GetEndResult());
    EXPECT_TRUE(IsWindowVisible(h.Hwnd()));
    h.PressKey(CheckId(2010), VK_RETURN);
    EXPECT_EQ(0, h.dlg.GetEndResult());
    EXPECT_TRUE(h.Checked(CheckId(2010)));
    // On a push button Enter clicks it: Cancel ends the dialog.
    h.PressKey(IDCANCEL, VK_RETURN);
    EXPECT_EQ(IDCANCEL, h.dlg.GetEndResult());
}

TEST(SetupDialog, EscapeAndCloseBoxCancel)
{
    {
        DialogHarness h({2010});
        h.PressKey(IDC_INSTALL_PATH, VK_ESCAPE);
        EXPECT_EQ(IDCANCEL, h.dlg.GetEndResult());
    }
    {
        DialogHarness h({2010});
        SendMessageA(h.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        h.Pump();
        EXPECT_EQ(IDCANCEL, h.dlg.GetEndResult());
    }
}
