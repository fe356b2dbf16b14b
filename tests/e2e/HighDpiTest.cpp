// The real SetUp.exe on a screen scaled to 150 % (144 DPI) against the same
// program at 96 DPI: the dialog, its fonts and its pictures grow together, and
// no text is cut. Runs in a Wine prefix of its own (tests/e2e/high_dpi.sh): the
// DPI is the prefix's setting, read by each program when it starts. Leaves
// high_dpi-96.bmp and high_dpi-144.bmp in the current folder for a person to see.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/MeasureHook.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/support/Screen.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kLogPixels[] = "LogPixels";

// The DPI Wine gives programs started from now on; 0 when not set (96).
DWORD ReadLogPixels()
{
    DWORD dpi = 0, cb = sizeof dpi;
    if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &dpi, &cb) != ERROR_SUCCESS)
        return 0;
    return dpi;
}

void WriteLogPixels(DWORD dpi)
{
    if (dpi == 0) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
        return;
    }
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &dpi, sizeof dpi));
}

// Puts the prefix's DPI back however the test ends.
class LogPixelsRestorer {
public:
    LogPixelsRestorer() : m_dpi(ReadLogPixels()) {}
    ~LogPixelsRestorer() { WriteLogPixels(m_dpi); }

private:
    DWORD m_dpi;
};

SIZE SizeOf(const RECT& r)
{
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE WindowSize(HWND hWnd)
{
    RECT r = {};
    GetWindowRect(hWnd, &r);
    return SizeOf(r);
}

// A text control whose text does not fit its client area with its own font.
struct CutText {
    int id;
    std::string text;
    SIZE needed;
    SIZE client;
};

// measure_hook.dll, beside this program.
std::string HookDll()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string path = self;
    return path.substr(0, path.rfind('\\') + 1) + "measure_hook.dll";
}

// Every static text of the dialog, measured inside its program with the font
// the control has (tests/e2e/MeasureHook.cpp).
MeasuredTexts MeasureTexts(HWND dialog)
{
    MeasuredTexts result = {};
    HMODULE dll = LoadLibraryA(HookDll().c_str());
    const HOOKPROC proc = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, kMeasureHookProc)))
                              : nullptr;
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(MeasuredTexts),
                                        kMeasureMapping);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(MeasuredTexts)) : nullptr;
    HHOOK hook = proc && view ? SetWindowsHookExW(WH_CALLWNDPROC, proc, dll, GetWindowThreadProcessId(dialog, nullptr))
                              : nullptr;
    EXPECT_TRUE(hook) << "hook " << HookDll() << " error " << GetLastError();
    if (hook) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(dialog, RegisterWindowMessageW(kMeasureMessage), 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
        UnhookWindowsHookEx(hook);
        result = *static_cast<const MeasuredTexts*>(view);
    }
    if (view)
        UnmapViewOfFile(view);
    if (mapping)
        CloseHandle(mapping);
    if (dll)
        FreeLibrary(dll);
    return result;
}

std::string Utf8(const wchar_t* text)
{
    char utf8[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    return utf8;
}

// What the dialog looks like at one DPI.
struct DialogLook {
    SIZE dialog = {};
    SIZE logo = {};     // the logo's control, which takes its picture's size
    SIZE preview = {};  // the same for the (hidden) menu picture
    int headingHeight = 0;  // the title's font, in pixels
    int logoInk = 0;    // pixels of the logo's commonest colour on the screen
    int textsMeasured = 0;
    std::vector<CutText> cut;
};

// The commonest colour of a screen rectangle, and how many pixels have it.
std::pair<DWORD, int> CommonestColour(const RECT& r)
{
    std::map<DWORD, int> counts;
    for (DWORD px : CaptureScreen(r))
        ++counts[px];
    std::pair<DWORD, int> best = {0, 0};
    for (const auto& c : counts)
        if (c.second > best.second)
            best = c;
    return best;
}

int CountColour(const RECT& r, DWORD colour)
{
    int n = 0;
    for (DWORD px : CaptureScreen(r))
        n += px == colour;
    return n;
}

// Starts SetUp.exe with the prefix set to dpi, reads its dialog and saves a
// picture of it. logoColour: the colour to count in the logo (0: its commonest,
// returned through it).
DialogLook LookAt(DWORD dpi, const char* pszShot, DWORD& logoColour)
{
    DialogLook look;
    WriteLogPixels(dpi);
    SetupProcess setup;
    EXPECT_TRUE(setup.Start()) << "no dialog at " << dpi << " DPI";
    if (!setup.Dialog())
        return look;
    // Away from the corner where other tests' windows open, fully on the screen.
    SetWindowPos(setup.Dialog(), HWND_TOP, 540, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(300);
    look.dialog = WindowSize(setup.Dialog());
    look.logo = WindowSize(setup.Item(IDC_LOGO));
    look.preview = WindowSize(setup.Item(IDC_MENU_PREVIEW));
    const MeasuredTexts texts = MeasureTexts(setup.Dialog());
    look.textsMeasured = texts.count;
    for (int i = 0; i < texts.count && i < 40; ++i) {
        const MeasuredText& m = texts.texts[i];
        if (m.id == IDC_TITLE)
            look.headingHeight = m.fontHeight < 0 ? -m.fontHeight : m.fontHeight;
        if (m.needed.cx > m.client.cx || m.needed.cy > m.client.cy)
            look.cut.push_back({m.id, Utf8(m.text), m.needed, m.client});
    }
    RECT logo = {};
    GetWindowRect(setup.Item(IDC_LOGO), &logo);
    if (!logoColour)
        logoColour = CommonestColour(logo).first;
    look.logoInk = CountColour(logo, logoColour);
    RECT whole = {};
    GetWindowRect(setup.Dialog(), &whole);
    EXPECT_TRUE(SaveScreenBmp(whole, pszShot));
    PostMessageA(setup.Dialog(), WM_COMMAND, IDCANCEL, 0);
    setup.WaitForExit(5000);
    return look;
}

void ExpectNothingCut(const DialogLook& look, DWORD dpi)
{
    std::printf("%lu DPI: dialog %ld x %ld, logo %ld x %ld, menu picture %ld x %ld, title font %d px, %d texts\n",
                static_cast<unsigned long>(dpi), look.dialog.cx, look.dialog.cy, look.logo.cx, look.logo.cy,
                look.preview.cx, look.preview.cy, look.headingHeight, look.textsMeasured);
    EXPECT_GE(look.textsMeasured, 4) << dpi << " DPI: the labels and the headings";
    for (const CutText& c : look.cut)
        ADD_FAILURE() << dpi << " DPI: control " << c.id << " \"" << c.text << "\" needs " << c.needed.cx << " x "
                      << c.needed.cy << ", has " << c.client.cx << " x " << c.client.cy;
}

double Ratio(LONG large, LONG normal)
{
    return normal > 0 ? static_cast<double>(large) / normal : 0.0;
}

} // namespace

TEST(HighDpi, DialogFontsAndPicturesGrowWithTheScreensScale)
{
    // This test reads other programs' windows in physical pixels, whatever its own DPI.
    typedef HANDLE(WINAPI * SetContextFn)(HANDLE);
    const auto setContext = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    ASSERT_TRUE(setContext && setContext(reinterpret_cast<HANDLE>(-3)))  // per monitor
        << "SetThreadDpiAwarenessContext";
    const LogPixelsRestorer restore;
    DWORD logoColour = 0;
    const DialogLook normal = LookAt(96, "high_dpi-96.bmp", logoColour);
    const DialogLook large = LookAt(144, "high_dpi-144.bmp", logoColour);

    // The dialog: its units follow the measured font, which a font with
    // hand-made small sizes (WenQuanYi's 12-pixel bitmaps) does not scale
    // exactly by 1.5.
    EXPECT_NEAR(1.5, Ratio(large.dialog.cx, normal.dialog.cx), 0.2) << normal.dialog.cx << " -> " << large.dialog.cx;
    EXPECT_NEAR(1.5, Ratio(large.dialog.cy, normal.dialog.cy), 0.2) << normal.dialog.cy << " -> " << large.dialog.cy;
    // The pictures: 64 x 64 and 303 x 175 at 96 DPI, half as large again at 144.
    EXPECT_EQ(64, normal.logo.cx);
    EXPECT_EQ(64, normal.logo.cy);
    EXPECT_EQ(96, large.logo.cx);
    EXPECT_EQ(96, large.logo.cy);
    EXPECT_EQ(303, normal.preview.cx);
    EXPECT_EQ(455, large.preview.cx);
    EXPECT_EQ(263, large.preview.cy);
    // ... and drawn at that size, not a small picture in a large frame: 2.25 times the ink.
    EXPECT_GT(normal.logoInk, 500);
    EXPECT_NEAR(2.25, Ratio(large.logoInk, normal.logoInk), 0.35) << normal.logoInk << " -> " << large.logoInk;
    // The headings' fonts, made with a pixel height, grow as the dialog's own font does.
    EXPECT_EQ(14, normal.headingHeight);
    EXPECT_EQ(21, large.headingHeight);
    ExpectNothingCut(normal, 96);
    ExpectNothingCut(large, 144);
}
