// The picker in a real shell folder browser window, driven as a user would.
#include "picker/PathDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "res/Texts.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/TempFolder.h"

namespace {

std::string TextOf(HWND h)
{
    char buf[512] = {};
    SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

HWND FindOurBrowser()
{
    return FindVisibleWindow(GetCurrentProcessId(), [](HWND h) { return GetDlgItem(h, IDC_BROWSE_TREE) != nullptr; });
}

// Runs the picker modally while `drive` works its window from another thread;
// whatever the test leaves open is cancelled, so the picker always returns.
int RunPicker(CPathDialog& picker, const std::function<void(HWND)>& drive)
{
    std::atomic<bool> done{false};
    std::thread user([&] {
        HWND browser = nullptr;
        for (int i = 0; i < 12000 && !browser && !done; ++i) {  // a cold shell can be slow
            browser = FindOurBrowser();
            Sleep(10);
        }
        if (!browser) {
            ADD_FAILURE() << "the folder browser did not appear";
        } else {
            Sleep(200);  // the initial selection settles
            drive(browser);
        }
        while (!done) {
            if (HWND open = FindOurBrowser())
                PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
            Sleep(50);
        }
    });
    const int result = picker.DoModal();
    done = true;
    user.join();
    return result;
}

void Type(HWND browser, const std::string& text)
{
    SendMessageA(GetDlgItem(browser, IDC_FOLDER_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Sleep(50);
}

void PressOk(HWND browser)
{
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(browser, IDOK)));
    for (int i = 0; i < 100 && IsWindow(browser); ++i)
        Sleep(20);
}

bool OkEnabled(HWND browser)
{
    return IsWindowEnabled(GetDlgItem(browser, IDOK)) != FALSE;
}

} // namespace

TEST(PathDialog, EditBoxAboveTheTreeShowsTheInitialFolder)
{
    TempFolder dir;
    CPathDialog picker(Texts::kBrowseCaption, Texts::kBrowseCaption, dir.Path().c_str(), nullptr);
    std::string caption, shown;
    bool statusHidden = false, editAboveTree = false, okEnabled = false;
    const int result = RunPicker(picker, [&](HWND b) {
        char sz[128] = {};
        GetWindowTextA(b, sz, sizeof sz);
        caption = sz;
        // The initial selection reaches the edit box once the tree has expanded to it.
        for (int i = 0; i < 250; ++i) {
            shown = TextOf(GetDlgItem(b, IDC_FOLDER_EDIT));
            if (_stricmp(shown.c_str(), dir.Path().c_str()) == 0)
                break;
            Sleep(20);
        }
        HWND status = GetDlgItem(b, IDC_BROWSE_STATUS);
        statusHidden = !status || !IsWindowVisible(status);
        RECT edit, tree;
        GetWindowRect(GetDlgItem(b, IDC_FOLDER_EDIT), &edit);
        GetWindowRect(GetDlgItem(b, IDC_BROWSE_TREE), &tree);
        editAboveTree = edit.bottom == tree.top - 4 && edit.bottom - edit.top == 23 &&
                        edit.left == tree.left && edit.right == tree.right;
        okEnabled = OkEnabled(b);
    });
    EXPECT_EQ(-1, result);
    EXPECT_EQ("请选择安装目录：", caption);
    EXPECT_EQ(0, _stricmp(dir.Path().c_str(), shown.c_str())) << "shown: " << shown << " expected: " << dir.Path();
    EXPECT_TRUE(statusHidden);
    EXPECT_TRUE(editAboveTree);
    EXPECT_TRUE(okEnabled);
}

TEST(PathDialog, InitialFolderThatDoesNotExistYetStillShows)
{
    TempFolder dir;
    const std::string missing = dir / "Trabex";
    CPathDialog picker("pick", "pick", missing.c_str(), nullptr);
    std::string shown;
    bool okEnabled = false;
    RunPicker(picker, [&](HWND b) {
        shown = TextOf(GetDlgItem(b, IDC_FOLDER_EDIT));
        okEnabled = OkEnabled(b);
    });
    EXPECT_EQ(missing, shown);
    EXPECT_TRUE(okEnabled);
    EXPECT_FALSE(Disk::IsFolder(missing));
}

TEST(PathDialog, TypingDrivesTheOkButton)
{
    TempFolder dir;
    CPathDialog picker(nullptr, "prompt", dir.Path().c_str(), nullptr);
    bool emptyDisablesOk = false, textEnablesOk = false;
    std::string caption;
    RunPicker(picker, [&](HWND b) {
        Type(b, "");
        emptyDisablesOk = !OkEnabled(b);
        Type(b, "anything");
        textEnablesOk = OkEnabled(b);
        char sz[128] = {};
        GetWindowTextA(b, sz, sizeof sz);
        caption = sz;
    });
    EXPECT_TRUE(emptyDisablesOk);
    EXPECT_TRUE(textEnablesOk);
    EXPECT_NE("prompt", caption);  // a NULL caption keeps the shell's own
}

TEST(PathDialog, TypedPathWithTwoMissingLevelsIsCreatedOnYes)
{
    TempFolder dir;
    const std::string typed = dir / "A\\B";
    CPathDialog picker("pick", "pick", dir.Path().c_str(), nullptr);
    MessageBoxAnswerer boxes(std::vector<int>{IDYES});
    const int result = RunPicker(picker, [&](HWND b) {
        Type(b, typed);
        PressOk(b);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(typed, picker.GetPathName().Std());
    EXPECT_TRUE(Disk::IsFolder(typed));
    ASSERT_EQ(1u, boxes.Count());
}

TEST(PathDialog, NoKeepsTheDialogOpenThenCancelGivesMinusOne)
{
    TempFolder dir;
    CPathDialog picker("pick", "pick", dir.Path().c_str(), nullptr);
    MessageBoxAnswerer boxes(std::vector<int>{IDNO});
    bool stillOpen = false;
    const int result = RunPicker(picker, [&](HWND b) {
        Type(b, dir / "missing");
        PressOk(b);
        stillOpen = IsWindow(b) != FALSE;
        PostMessageA(b, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(-1, result);
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_FALSE(Disk::IsFolder(dir / "missing"));
}

TEST(PathDialog, InvalidPathsAreRefusedWithTheirMessage)
{
    TempFolder dir;
    Disk::WriteFile(dir / "file.txt", "x");
    CPathDialog picker("pick", "pick", dir.Path().c_str(), nullptr);
    MessageBoxAnswerer boxes;
    bool openAfterInvalid = false;
    const int result = RunPicker(picker, [&](HWND b) {
        Type(b, dir.Path() + "\\sub\\");
        PressOk(b);
        openAfterInvalid = IsWindow(b) != FALSE;
        Type(b, dir / "file.txt");  // an existing file is accepted as typed
        PressOk(b);
    });
    EXPECT_TRUE(openAfterInvalid);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(dir / "file.txt", picker.GetPathName().Std());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_NE(std::string::npos, boxes.Seen()[0].text.find("is invalid. Please reenter."));
}

TEST(PathDialog, ItsQuestionsAreModalToTheBrowser)
{
    // The setup dialog is the main window and owns the browser, as in the program.
    HWND main = CreateWindowExA(0, "STATIC", "setup", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
    CWnd mainWnd;
    mainWnd.Attach(main);
    AfxSetMainWnd(&mainWnd);
    TempFolder dir;
    std::atomic<HWND> browser{nullptr};
    std::atomic<bool> browserDisabled{false};
    MessageBoxAnswerer boxes([&](const std::string&, const std::string&) {
        browserDisabled = browser.load() && !IsWindowEnabled(browser.load());
        return IDNO;
    });
    CPathDialog picker("pick", "pick", dir.Path().c_str(), nullptr);
    const int result = RunPicker(picker, [&](HWND b) {
        browser = b;
        Type(b, dir / "missing");
        PressOk(b);
    });
    AfxSetMainWnd(nullptr);
    mainWnd.Detach();
    DestroyWindow(main);
    EXPECT_EQ(-1, result);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_TRUE(browserDisabled) << "the browser stays usable under its own question";
}
