#include "ui/SetupDialog.h"

#include <gtest/gtest.h>

#include "tests/ui/DialogHarness.h"

namespace {

// Sends one colour message for a control over a fresh memory DC and reports
// what the handler left in the DC and which brush it returned.
struct Painted {
    COLORREF brush;
    COLORREF text;
    int bkMode;
    LOGFONTA font;
    bool fontChanged;
};

Painted Paint(const DialogHarness& h, UINT msg, HWND control)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(h.Hwnd(), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    Painted p = {};
    LOGBRUSH lb = {};
    GetObjectA(brush, sizeof lb, &lb);
    p.brush = lb.lbColor;
    p.text = GetTextColor(dc);
    p.bkMode = GetBkMode(dc);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    p.fontChanged = font != before;
    GetObjectA(font, sizeof p.font, &p.font);
    DeleteDC(dc);
    return p;
}

} // namespace

TEST(Appearance, LightBlueEverywhereTransparentTextBlack)
{
    DialogHarness h({2010});
    const COLORREF blue = RGB(160, 180, 220);
    const Painted dialog = Paint(h, WM_CTLCOLORDLG, h.Hwnd());
    EXPECT_EQ(blue, dialog.brush);
    for (int id : {IDC_SELECT_LABEL, IDC_PATH_LABEL}) {
        const Painted p = Paint(h, WM_CTLCOLORSTATIC, h.Item(id));
        EXPECT_EQ(blue, p.brush);
        EXPECT_EQ(RGB(0, 0, 0), p.text);
        EXPECT_EQ(TRANSPARENT, p.bkMode);
        EXPECT_FALSE(p.fontChanged) << "only the headings get a font of their own";
    }
    const Painted check = Paint(h, WM_CTLCOLORSTATIC, h.Item(CheckId(2010)));
    EXPECT_EQ(TRANSPARENT, check.bkMode);
    const Painted button = Paint(h, WM_CTLCOLORBTN, h.Item(IDC_INSTALL));
    EXPECT_EQ(blue, button.brush);
}

TEST(Appearance, EditBoxKeepsItsOpaqueTextBackground)
{
    DialogHarness h({2010});
    const Painted edit = Paint(h, WM_CTLCOLOREDIT, h.Item(IDC_INSTALL_PATH));
    EXPECT_EQ(OPAQUE, edit.bkMode);
    EXPECT_EQ(RGB(0, 0, 0), edit.text);
    EXPECT_EQ(RGB(160, 180, 220), edit.brush);
    EXPECT_FALSE(edit.fontChanged);
}

TEST(Appearance, HeadingsGetTheirFontsAndDarkGreen)
{
    DialogHarness h({2010});
    const Painted title = Paint(h, WM_CTLCOLORSTATIC, h.Item(IDC_TITLE));
    EXPECT_EQ(RGB(10, 70, 40), title.text);
    EXPECT_EQ(TRANSPARENT, title.bkMode);
    EXPECT_EQ(14, title.font.lfHeight);
    EXPECT_EQ(600, title.font.lfWeight);
    EXPECT_STREQ("宋体", title.font.lfFaceName);
    const Painted edition = Paint(h, WM_CTLCOLORSTATIC, h.Item(IDC_EDITION));
    EXPECT_EQ(RGB(10, 70, 40), edition.text);
    EXPECT_EQ(13, edition.font.lfHeight);
    EXPECT_EQ(400, edition.font.lfWeight);
    // The same font object on every paint: nothing is deleted while selected.
    const Painted again = Paint(h, WM_CTLCOLORSTATIC, h.Item(IDC_TITLE));
    EXPECT_EQ(14, again.font.lfHeight);
}
