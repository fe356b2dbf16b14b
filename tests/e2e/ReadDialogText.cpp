// Prints, as UTF-8, the texts of the setup dialog's two headings as another
// program reads them (WM_GETTEXT in UTF-16): what a user of any code page sees.
//   ReadDialogText    waits up to 10 s for the dialog "Q-Ostrevo安装", then prints
//                     "title=<text>" and "edition=<text>"
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"

namespace {

std::string Utf8(const wchar_t* w)
{
    char buf[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, w, -1, buf, sizeof buf - 1, nullptr, nullptr);
    return buf;
}

std::string ControlText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
}

} // namespace

int main()
{
    HWND dialog = nullptr;
    for (int i = 0; i < 1000 && !dialog; ++i) {
        dialog = FindWindowW(nullptr, L"Q-Ostrevo\u5b89\u88c5");  // "Q-Ostrevo安装"
        Sleep(10);
    }
    if (!dialog)
        return 1;
    Sleep(300);
    std::printf("title=%s\nedition=%s\n", ControlText(dialog, IDC_TITLE).c_str(), ControlText(dialog, IDC_EDITION).c_str());
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}
