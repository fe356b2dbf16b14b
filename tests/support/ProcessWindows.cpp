#include "tests/support/ProcessWindows.h"

#include <string>

namespace {

struct Search {
    DWORD pid;
    const WindowMatch* match;
    bool firstOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if ((search->pid == 0 || pid == search->pid) && IsWindowVisible(hWnd) && (*search->match)(hWnd)) {
        search->found.push_back(hWnd);
        return !search->firstOnly;
    }
    return TRUE;
}

std::vector<HWND> Enumerate(DWORD pid, const WindowMatch& match, bool firstOnly)
{
    Search search = {pid, &match, firstOnly, {}};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::vector<HWND> VisibleWindowsOf(DWORD pid, const WindowMatch& match)
{
    return Enumerate(pid, match, false);
}

HWND FindVisibleWindow(DWORD pid, const WindowMatch& match)
{
    const std::vector<HWND> found = Enumerate(pid, match, true);
    return found.empty() ? nullptr : found.front();
}

bool IsMessageBox(HWND hWnd)
{
    char cls[32] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    return std::string(cls) == "#32770" && GetDlgItem(hWnd, 0xFFFF) != nullptr;
}
