// What the user sees: pixels of the real program's dialog on the screen.
#include <gtest/gtest.h>

#include <map>

#include "res/resource.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/Screen.h"

namespace {

// Counts the screen pixels of each colour inside a window's rectangle.
std::map<COLORREF, int> Colours(HWND hWnd)
{
    RECT r;
    GetWindowRect(hWnd, &r);
    std::map<COLORREF, int> counts;
    for (DWORD px : CaptureScreen(r))
        ++counts[RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF)];
    return counts;
}

} // namespace

TEST(Screen, BackgroundHeadingsAndEditBox)
{
    SetupProcess setup;
    ASSERT_TRUE(setup.Start());
    const COLORREF blue = RGB(160, 180, 220);
    const COLORREF green = RGB(10, 70, 40);

    // The dialog's own client area is light blue (most of it).
    const std::map<COLORREF, int> dialog = Colours(setup.Dialog());
    RECT r;
    GetWindowRect(setup.Dialog(), &r);
    const int area = (r.right - r.left) * (r.bottom - r.top);
    ASSERT_GT(area, 0);
    EXPECT_GT(dialog.count(blue) ? dialog.at(blue) : 0, area / 2);

    // Heading texts are dark green on the light blue, without a box of their own.
    for (int id : {IDC_TITLE, IDC_EDITION}) {
        const std::map<COLORREF, int> c = Colours(setup.Item(id));
        EXPECT_GT(c.count(green) ? c.at(green) : 0, 5) << "heading " << id;
        EXPECT_GT(c.count(blue) ? c.at(blue) : 0, 0) << "heading " << id;
    }
    // The edit box's text cells keep their own (not light blue) background.
    const std::map<COLORREF, int> edit = Colours(setup.Item(IDC_INSTALL_PATH));
    EXPECT_GT(edit.count(RGB(255, 255, 255)) ? edit.at(RGB(255, 255, 255)) : 0, 50);
}
