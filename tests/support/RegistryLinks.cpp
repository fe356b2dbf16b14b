// Registry symbolic links for tests: made and deleted through ntdll, as Windows does.
#include "tests/support/RegistryLinks.h"

#include <windows.h>

#include <cstring>

#include "tests/support/RegistryView.h"

namespace {

typedef LONG(WINAPI* NtQueryKeyFn)(HANDLE, int, PVOID, ULONG, PULONG);
typedef LONG(WINAPI* NtDeleteKeyFn)(HANDLE);

// The kernel's name of an open key, e.g. \REGISTRY\USER\S-1-5-...\Software\...
std::wstring NativeKeyName(HKEY h)
{
    NtQueryKeyFn query = reinterpret_cast<NtQueryKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryKey")));
    if (!query)
        return std::wstring();
    alignas(8) unsigned char buf[4096];
    ULONG cb = 0;
    if (query(h, 3 /* KeyNameInformation */, buf, sizeof buf, &cb) != 0)
        return std::wstring();
    ULONG len = 0;
    memcpy(&len, buf, sizeof len);
    return std::wstring(reinterpret_cast<const wchar_t*>(buf + sizeof(ULONG)), len / sizeof(wchar_t));
}

} // namespace

bool CreateLink(const std::string& parentPath, const char* linkName, const std::string& targetPath)
{
    HKEY target = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, targetPath.c_str(), 0, KEY_READ | Reg::kOwnView, &target) != ERROR_SUCCESS)
        return false;
    const std::wstring native = NativeKeyName(target);
    RegCloseKey(target);
    if (native.empty())
        return false;
    HKEY link = nullptr;
    const std::string linkPath = parentPath + "\\" + linkName;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, linkPath.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK | Reg::kOwnView, nullptr, &link, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG r = RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                                  reinterpret_cast<const BYTE*>(native.data()),
                                  static_cast<DWORD>(native.size() * sizeof(wchar_t)));
    RegCloseKey(link);
    return r == ERROR_SUCCESS;
}

void DeleteLink(const std::string& linkPath)
{
    HKEY link = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, linkPath.c_str(), REG_OPTION_OPEN_LINK, DELETE | KEY_READ | Reg::kOwnView,
                      &link) != ERROR_SUCCESS)
        return;
    NtDeleteKeyFn del = reinterpret_cast<NtDeleteKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
    if (del)
        del(link);
    RegCloseKey(link);
}

