#include "acad/TrustedPaths.h"

#include <gtest/gtest.h>

#include <string>

#include <sddl.h>

#include "acad/AcadRegistry.h"
#include "tests/support/NoteRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

namespace {

const std::string kAcad = "SOFTWARE\\Autodesk\\AutoCAD";
const std::string kVars = kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\<<未命名配置>>\\Variables";

class TrustedPaths : public ::testing::Test {
protected:
    TrustedPaths() { record.SetInstallFolder("D:\\Trabex"); }

    // Seeds the value and returns what the update makes of it.
    std::string Update(const std::string& current)
    {
        Reg::SetString(Reg::kUser, kVars, "TRUSTEDPATHS", current);
        record.AddTrustedPath(log);
        return Reg::GetString(Reg::kUser, kVars, "TRUSTEDPATHS");
    }

    RegistrySandbox sandbox;
    CAcadRegistry record;
    NoteRecorder log;
};

} // namespace

TEST_F(TrustedPaths, NoAutoCadSettingsWritesNothing)
{
    record.AddTrustedPath(log);
    EXPECT_EQ("", Reg::Export(Reg::kUser, "SOFTWARE"));
    Reg::CreateKey(Reg::kUser, kAcad + "\\R24.0\\ACAD-4101:804");  // no Profiles
    record.AddTrustedPath(log);
    EXPECT_FALSE(Reg::KeyExists(Reg::kUser, kAcad + "\\R24.0\\ACAD-4101:804\\Profiles"));
}

TEST_F(TrustedPaths, MissingValueOrVariablesKeyGetsTheFolderInItsOwnCase)
{
    Reg::CreateKey(Reg::kUser, kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\Empty");
    Reg::SetString(Reg::kUser, kVars, "OTHER", "x");
    record.AddTrustedPath(log);
    EXPECT_EQ("D:\\Trabex", Reg::GetString(Reg::kUser, kVars, "TRUSTEDPATHS"));
    EXPECT_EQ("D:\\Trabex", Reg::GetString(Reg::kUser,
                                           kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\Empty\\Variables",
                                           "TRUSTEDPATHS"));
    EXPECT_EQ("x", Reg::GetString(Reg::kUser, kVars, "OTHER"));
}

TEST_F(TrustedPaths, ExistingValueIsExtendedAndStoredUpperCase)
{
    EXPECT_EQ("C:\\TOOLS;D:\\TRABEX", Update("c:\\tools"));
    EXPECT_EQ("C:\\TOOLS;;D:\\TRABEX", Update("c:\\tools;"));
    EXPECT_EQ("D:\\Trabex", Update("ab"));
    EXPECT_EQ("ABC;D:\\TRABEX", Update("abc"));
    EXPECT_EQ("C:\\扩展;D:\\TRABEX", Update("c:\\扩展"));
}

TEST_F(TrustedPaths, FolderAlreadyTrustedGetsNoSecondEntry)
{
    EXPECT_EQ("C:\\TOOLS;D:\\TRABEX", Update("c:\\tools;d:\\trabex"));
    EXPECT_EQ("D:\\TRABEX\\;C:\\X", Update("d:\\trabex\\;c:\\x"));
    EXPECT_EQ("D:\\TRABEX\\...", Update("d:\\trabex\\..."));
    // A second install with the same folder appends nothing.
    EXPECT_EQ("C:\\TOOLS;D:\\TRABEX", Update("C:\\TOOLS;D:\\TRABEX"));
}

TEST_F(TrustedPaths, FolderThatOnlyPrefixesAnEntryIsStillAdded)
{
    EXPECT_EQ("D:\\TRABEX2\\BIN;D:\\TRABEX", Update("D:\\Trabex2\\bin"));
    EXPECT_EQ("D:\\TRABEX\\SUB;D:\\TRABEX", Update("d:\\trabex\\sub"));
    EXPECT_EQ("X:\\D:\\TRABEX;D:\\TRABEX", Update("x:\\d:\\trabex"));
}

TEST_F(TrustedPaths, LongValueKeepsEveryEntry)
{
    std::string value;
    for (int i = 0; value.size() < 12000; ++i)
        value += (i ? ";" : "") + std::string("c:\\lib\\folder") + std::to_string(i);
    std::string upper = value;
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(upper + ";D:\\TRABEX", Update(value));
    // The folder at the very end of a long value is found there.
    EXPECT_EQ(upper + ";D:\\TRABEX", Update(upper + ";D:\\TRABEX"));
}

TEST_F(TrustedPaths, EveryProfileOfEveryProduct)
{
    const std::string profiles[] = {
        kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\A\\Variables",
        kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\B\\Variables",
        kAcad + "\\R24.0\\ACAD-4106:804\\Profiles\\A\\Variables",
        kAcad + "\\R24.0\\ACAD-4106:804\\Profiles\\B\\Variables",
    };
    for (const std::string& p : profiles)
        Reg::SetString(Reg::kUser, p, "TRUSTEDPATHS", "c:\\x");
    record.AddTrustedPath(log);
    for (const std::string& p : profiles)
        EXPECT_EQ("C:\\X;D:\\TRABEX", Reg::GetString(Reg::kUser, p, "TRUSTEDPATHS")) << p;
}

TEST(TrustedPathsContain, EntriesNotSubstrings)
{
    auto contain = [](const char* value, const char* folder) {
        return TrustedPathsContain(CStringW::FromText(value), CStringW::FromText(folder));
    };
    EXPECT_TRUE(contain("a;D:\\TRABEX;b", "d:\\trabex"));
    EXPECT_TRUE(contain("D:\\TRABEX\\", "D:\\Trabex"));
    EXPECT_TRUE(contain("D:\\TRABEX\\...", "D:\\Trabex"));
    EXPECT_FALSE(contain("D:\\TRABEX\\\\", "D:\\Trabex"));
    EXPECT_FALSE(contain("D:\\TRABEX2", "D:\\Trabex"));
    EXPECT_FALSE(contain("", "D:\\Trabex"));
}

namespace {

std::wstring ReadW(const std::string& path)
{
    wchar_t buf[512] = {};
    DWORD cb = sizeof buf;
    HKEY h = nullptr;
    if (RegOpenKeyExA(Reg::kUser.root, path.c_str(), 0, KEY_READ | Reg::kUser.view, &h) != ERROR_SUCCESS)
        return L"<no key>";
    const LONG r = RegQueryValueExW(h, L"TRUSTEDPATHS", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb);
    RegCloseKey(h);
    return r == ERROR_SUCCESS ? std::wstring(buf) : L"<absent>";
}

} // namespace

TEST_F(TrustedPaths, NoExistingEntryIsLostToReadErrorsOrForeignCharacters)
{
    // Entries outside code page 936 survive exactly, apart from ASCII upper-casing.
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(Reg::kUser.root, kVars.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | Reg::kUser.view, nullptr, &h, nullptr));
    // "Søren" and a Korean folder.
    const std::wstring foreign = L"C:\\Users\\S\u00f8ren\\lisp;D:\\\ud55c\uad6d\uc5b4\\\ube14\ub85d";
    RegSetValueExW(h, L"TRUSTEDPATHS", 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign.c_str()),
                   static_cast<DWORD>((foreign.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    record.AddTrustedPath(log);
    EXPECT_EQ(L"C:\\USERS\\S\u00f8REN\\LISP;D:\\\ud55c\uad6d\uc5b4\\\ube14\ub85d;D:\\TRABEX", ReadW(kVars));

    // A value that cannot be read (the key allows writing but not reading) is not
    // an empty one: the profile is left as it is.
    const std::string locked = kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\Locked\\Variables";
    Reg::SetString(Reg::kUser, locked, "TRUSTEDPATHS", "c:\\keep");
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Reg::kUser.root, locked.c_str(), 0, KEY_ALL_ACCESS | Reg::kUser.view, &h));
    PSECURITY_DESCRIPTOR sd = nullptr;
    // Everyone: set values and create sub-keys, but not query values.
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;0x20006;;;WD)", SDDL_REVISION_1, &sd, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd));
    LocalFree(sd);
    RegCloseKey(h);
    if (RegOpenKeyExA(Reg::kUser.root, locked.c_str(), 0, KEY_QUERY_VALUE | Reg::kUser.view, &h) == ERROR_SUCCESS) {
        RegCloseKey(h);
        GTEST_SKIP() << "this Wine does not enforce registry key security";
    }
    record.AddTrustedPath(log);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Reg::kUser.root, locked.c_str(), 0, WRITE_DAC | Reg::kUser.view, &h));
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KA;;;WD)", SDDL_REVISION_1, &sd, nullptr));
    RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
    RegCloseKey(h);
    EXPECT_EQ("c:\\keep", Reg::GetString(Reg::kUser, locked, "TRUSTEDPATHS"));
}
