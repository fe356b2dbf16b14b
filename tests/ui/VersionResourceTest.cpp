// The file's version resource agrees with the version the dialog shows, and names
// its publisher (Windows shows both in the file's properties).
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

// The copyright names the release's year and the company, read as Windows reads
// it: UTF-16, "©" included, whatever the ANSI code page.
TEST(VersionResource, NamesThePublisherAndItsCopyright)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(self, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(self, 0, size, data.data()));
    wchar_t* text = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080403a8\\CompanyName",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ(L"Ostrevo", text);
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080403a8\\LegalCopyright",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ(L"\u00A9 2026 Ostrevo", text);
}
