#include "acad/TrustedPaths.h"

#include <gtest/gtest.h>

#include <string>

#include "acad/AcadRegistry.h"
#include "tests/support/RegistrySandbox.h"

namespace {

const std::string kAcad = "SOFTWARE\\Autodesk\\AutoCAD";
const std::string kVars = kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\<<未命名配置>>\\Variables";

class TrustedPaths : public ::testing::Test {
protected:
    TrustedPaths() { record.SetInstallFolder("D:\\Trabex"); }

    // Seeds the value and returns what the update makes of it.
    std::string Update(const std::string& current)
    {
        Reg::SetString(HKEY_CURRENT_USER, kVars, "TRUSTEDPATHS", current);
        record.AddTrustedPath();
        return Reg::GetString(HKEY_CURRENT_USER, kVars, "TRUSTEDPATHS");
    }

    RegistrySandbox sandbox;
    CAcadRegistry record;
};

} // namespace

TEST_F(TrustedPaths, NoAutoCadSettingsWritesNothing)
{
    record.AddTrustedPath();
    EXPECT_EQ("", Reg::Export(HKEY_CURRENT_USER, "SOFTWARE"));
    Reg::CreateKey(HKEY_CURRENT_USER, kAcad + "\\R24.0\\ACAD-4101:804");  // no Profiles
    record.AddTrustedPath();
    EXPECT_FALSE(Reg::KeyExists(HKEY_CURRENT_USER, kAcad + "\\R24.0\\ACAD-4101:804\\Profiles"));
}

TEST_F(TrustedPaths, MissingValueOrVariablesKeyGetsTheFolderInItsOwnCase)
{
    Reg::CreateKey(HKEY_CURRENT_USER, kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\Empty");
    Reg::SetString(HKEY_CURRENT_USER, kVars, "OTHER", "x");
    record.AddTrustedPath();
    EXPECT_EQ("D:\\Trabex", Reg::GetString(HKEY_CURRENT_USER, kVars, "TRUSTEDPATHS"));
    EXPECT_EQ("D:\\Trabex", Reg::GetString(HKEY_CURRENT_USER,
                                           kAcad + "\\R24.0\\ACAD-4101:804\\Profiles\\Empty\\Variables",
                                           "TRUSTEDPATHS"));
    EXPECT_EQ("x", Reg::GetString(HKEY_CURRENT_USER, kVars, "OTHER"));
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
        Reg::SetString(HKEY_CURRENT_USER, p, "TRUSTEDPATHS", "c:\\x");
    record.AddTrustedPath();
    for (const std::string& p : profiles)
        EXPECT_EQ("C:\\X;D:\\TRABEX", Reg::GetString(HKEY_CURRENT_USER, p, "TRUSTEDPATHS")) << p;
}

TEST(TrustedPathsContain, EntriesNotSubstrings)
{
    auto contain = [](const char* value, const char* folder) {
        return TrustedPathsContain(CStringW::FromAnsi(value), CStringW::FromAnsi(folder));
    };
    EXPECT_TRUE(contain("a;D:\\TRABEX;b", "d:\\trabex"));
    EXPECT_TRUE(contain("D:\\TRABEX\\", "D:\\Trabex"));
    EXPECT_TRUE(contain("D:\\TRABEX\\...", "D:\\Trabex"));
    EXPECT_FALSE(contain("D:\\TRABEX\\\\", "D:\\Trabex"));
    EXPECT_FALSE(contain("D:\\TRABEX2", "D:\\Trabex"));
    EXPECT_FALSE(contain("", "D:\\Trabex"));
}
