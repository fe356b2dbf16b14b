#include "tests/ui/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

void ResetRecord(std::initializer_list<int> foundYears)
{
    theAcadRegistry = CAcadRegistry();
    for (int y : foundYears) {
        theAcadRegistry.m_arrAcadFolders[ReleaseIndex(y)].Add("C:\\ACAD");
        theAcadRegistry.m_arrProductKeys[ReleaseIndex(y)].Add("SOFTWARE\\Autodesk\\AutoCAD\\R\\P\\");
    }
}

} // namespace

DialogHarness::DialogHarness(std::initializer_list<int> foundYears)
    : dlg((ResetRecord(foundYears), nullptr))
{
    EXPECT_TRUE(dlg.Create(nullptr)) << "the dialog template did not load";
    ShowWindow(Hwnd(), SW_SHOW);
    Pump();
}

DialogHarness::~DialogHarness()
{
    theAcadRegistry = CAcadRegistry();
}

std::string DialogHarness::Text(int id) const
{
    char buf[512] = {};
    GetWindowTextA(Item(id), buf, sizeof buf);
    return buf;
}

void DialogHarness::Pump(int ms)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(Hwnd(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Sleep(5);
    } while (GetTickCount() < end);
}

void DialogHarness::Click(int id)
{
    SendMessageA(Item(id), BM_CLICK, 0, 0);
    Pump();
}

void DialogHarness::PressKey(int focusId, WPARAM vk)
{
    // Move the focus the way the dialog manager does (Tab), so that a push button
    // becomes the default button while it has the focus.
    SetForegroundWindow(Hwnd());
    int tries = 0;
    do {
        SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(focusId)), TRUE);
        Pump(20);
    } while (GetFocus() != Item(focusId) && ++tries < 100);
    EXPECT_EQ(Item(focusId), GetFocus()) << "control " << focusId << " did not take the focus";
    PostMessageA(Item(focusId), WM_KEYDOWN, vk, 1);
    PostMessageA(Item(focusId), WM_KEYUP, vk, 0xC0000001);
    Pump(100);
}
