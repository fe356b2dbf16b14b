// Shows the setup dialog modelessly over a seeded installation record, so a test
// can look at its controls and drive it with real messages.
#pragma once

#include <initializer_list>
#include <string>

#include "acad/AcadRegistry.h"
#include "ui/SetupDialog.h"

class DialogHarness {
public:
    // Records one AutoCAD folder for each given release, then creates the dialog.
    explicit DialogHarness(std::initializer_list<int> foundYears);
    ~DialogHarness();

    HWND Hwnd() const { return dlg.GetSafeHwnd(); }
    HWND Item(int id) const { return GetDlgItem(Hwnd(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Visible(int id) const { return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Checked(int id) const { return IsDlgButtonChecked(Hwnd(), id) == BST_CHECKED; }
    std::string Text(int id) const;
    // Clicks a control as the mouse would (BM_CLICK), then lets messages run.
    void Click(int id);
    // Gives a control the focus and presses a key through the dialog manager.
    void PressKey(int focusId, WPARAM vk);
    // Runs the dialog's messages for a while (IsDialogMessage included).
    void Pump(int ms = 50);

    Dlg_Setup dlg;
};

inline int CheckId(int year)
{
    return kReleaseCheckIds[ReleaseIndex(year)];
}
