// The file's version resource agrees with the version the dialog shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/BuildConstants.h"

TEST(VersionResource, FileVersionIsTheSetupVersion)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);  // this test links the program's resources
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(self, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(self, 0, size, data.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len));
    EXPECT_EQ(static_cast<DWORD>(g_nSetupVersion / 10000), HIWORD(info->dwFileVersionMS));
    EXPECT_EQ(static_cast<DWORD>(g_nSetupVersion % 10000 / 100), LOWORD(info->dwFileVersionMS));
    EXPECT_EQ(static_cast<DWORD>(g_nSetupVersion % 100), HIWORD(info->dwFileVersionLS));
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\080403a8\\FileVersion",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ("2026.3.31", text);
}
