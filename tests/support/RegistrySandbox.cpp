#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

std::atomic<int> g_sandboxCounter{0};

// Creates the key one level at a time: Wine refuses long paths in one call.
HKEY CreateOrFail(HKEY root, const std::string& path)
{
    HKEY current = root;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string level = path.substr(start, end == std::string::npos ? end : end - start);
        HKEY next = nullptr;
        const LONG r = RegCreateKeyExA(current, level.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                       nullptr, &next, nullptr);
        if (current != root)
            RegCloseKey(current);
        EXPECT_EQ(ERROR_SUCCESS, r) << "cannot create " << path.substr(0, 80) << "...";
        if (r != ERROR_SUCCESS)
            return nullptr;
        current = next;
        if (end == std::string::npos)
            return current;
        start = end + 1;
    }
}

} // namespace

RegistrySandbox::RegistrySandbox()
{
    char sz[96];
    std::snprintf(sz, sizeof sz, "Software\\TrabexTests\\%lu-%d",
                  static_cast<unsigned long>(GetCurrentProcessId()), g_sandboxCounter++);
    m_scratchPath = sz;
    HKEY hklm = CreateOrFail(HKEY_CURRENT_USER, m_scratchPath + "\\HKLM");
    HKEY hkcu = CreateOrFail(HKEY_CURRENT_USER, m_scratchPath + "\\HKCU");
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, hklm));
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, hkcu));
    RegCloseKey(hklm);
    RegCloseKey(hkcu);
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_scratchPath.c_str());
}
