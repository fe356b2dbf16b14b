#include "tests/support/RegistrySandbox.h"

#include "tests/support/RegistryView.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

std::atomic<int> g_sandboxCounter{0};

} // namespace

RegistrySandbox::RegistrySandbox()
{
    char sz[96];
    std::snprintf(sz, sizeof sz, "Software\\TrabexTests\\%lu-%d",
                  static_cast<unsigned long>(GetCurrentProcessId()), g_sandboxCounter++);
    m_scratchPath = sz;
    HKEY hklm = Reg::CreateOrFail(Reg::kUser, m_scratchPath + "\\HKLM");
    HKEY hkcu = Reg::CreateOrFail(Reg::kUser, m_scratchPath + "\\HKCU");
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, hklm));
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, hkcu));
    RegCloseKey(hklm);
    RegCloseKey(hkcu);
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    Reg::DeleteTree(Reg::kUser, m_scratchPath);
}
