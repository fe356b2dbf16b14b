// Prints, as UTF-8, texts as another program reads them in UTF-16: what a user
// (or AutoCAD) of any code page sees.
//   ReadDialogText    waits up to 10 s for the dialog "Q-Ostrevo安装", then prints
//                     "title=<text>" and "edition=<text>"
//   ReadDialogText KEY VALUE...   prints "VALUE=<data>" for each REG_SZ value of
//                     HKEY_LOCAL_MACHINE\KEY in the programs' own view, "VALUE=<absent>" if none
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "res/resource.h"

namespace {

std::string Utf8(const wchar_t* w)
{
    char buf[4096] = {};
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

int PrintValues(int argc, char** argv)
{
    for (int i = 2; i < argc; ++i) {
        wchar_t data[1024] = {};
        DWORD cb = sizeof data - sizeof(wchar_t);
        // Key and value names are ASCII.
        const std::wstring key(argv[1], argv[1] + std::strlen(argv[1]));
        const std::wstring value(argv[i], argv[i] + std::strlen(argv[i]));
        // In the view the programs beside this one read: their own.
        HKEY h = nullptr;
        const REGSAM ownView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
        bool found = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | ownView, &h) == ERROR_SUCCESS;
        found = found && RegGetValueW(h, nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, data, &cb) == ERROR_SUCCESS;
        if (h)
            RegCloseKey(h);
        std::printf("%s=%s\n", argv[i], found ? Utf8(data).c_str() : "<absent>");
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc > 2)
        return PrintValues(argc, argv);
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
