#include "acad/AcadRegistry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/BuildConstants.h"
#include "platform/Registry.h"
#include "tests/acad/Ticks.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

namespace {

const char kFolder[] = "C:\\Trabex\\Q-Ostrevo";

class LoadRegistration : public ::testing::Test {
protected:
    LoadRegistration() { record.SetInstallFolder(kFolder); }

    // Adds a product key of the release, as discovery would have found it.
    std::string AddProduct(int year, const std::string& name)
    {
        const std::string path = "SOFTWARE\\Autodesk\\AutoCAD\\R" + std::to_string(year) + "\\" + name + "\\";
        Reg::CreateKey(Reg::kMachine, path.substr(0, path.size() - 1));
        record.m_arrProductKeys[ReleaseIndex(year)].Add(path.c_str());
        record.m_arrAcadFolders[ReleaseIndex(year)].Add("C:\\ACAD");
        return path;
    }

    RegistrySandbox sandbox;
    CAcadRegistry record;
};

std::string Loader(const std::string& productPath, const std::string& app)
{
    return Reg::GetString(Reg::kMachine, productPath + "Applications\\" + app, "LOADER");
}

// The key lines of an export: which keys exist below path.
std::string KeyLines(const std::string& path)
{
    std::string keys;
    const std::string all = Reg::Export(Reg::kMachine, path);
    for (size_t a = 0, b; (b = all.find('\n', a)) != std::string::npos; a = b + 1) {
        if (all[a] == '[')
            keys += all.substr(a, b - a + 1);
    }
    return keys;
}

} // namespace

TEST_F(LoadRegistration, EveryReleaseGetsItsKeyAndModuleNumber)
{
    const int modules[kReleaseCount] = {2008, 2008, 2009, 2010, 2010, 2010, 2013, 2013, 2015, 2015, 2017,
                                        2018, 2019, 2019, 2021, 2021, 2021, 2021, 2025, 2025, 2027};
    std::string paths[kReleaseCount];
    for (int k = 0; k < kReleaseCount; ++k)
        paths[k] = AddProduct(ReleaseYear(k), "ACAD-0001:804");
    RegisterTicked(record, {2007, 2008, 2009, 2010, 2011, 2012, 2013, 2014, 2015, 2016, 2017,
                            2018, 2019, 2020, 2021, 2022, 2023, 2024, 2025, 2026, 2027});
    for (int k = 0; k < kReleaseCount; ++k) {
        const std::string app = paths[k] + "Applications\\Trabex" + std::to_string(ReleaseYear(k));
        const auto values = Reg::Values(Reg::kMachine, app);
        ASSERT_TRUE(values.count("LOADCTRLS")) << app;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), values.at("LOADCTRLS").first);
        EXPECT_EQ(std::string("\x02\0\0\0", 4), values.at("LOADCTRLS").second);
        ASSERT_TRUE(values.count("LOADER")) << app;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), values.at("LOADER").first);
        // REG_SZ with the terminating NUL counted.
        EXPECT_EQ(std::string(kFolder) + "\\Trabex" + std::to_string(modules[k]) + ".ARX" +
                      std::string(1, '\0'),
                  values.at("LOADER").second);
    }
}

TEST_F(LoadRegistration, EveryProductKeyOfTheReleaseAndVanishedOnesSkipped)
{
    const std::string a = AddProduct(2016, "ACAD-D001:804");
    const std::string gone = AddProduct(2016, "ACAD-D002:804");
    const std::string b = AddProduct(2016, "ACAD-D003:804");
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, gone.substr(0, gone.size() - 1).c_str(), Reg::kOwnView, 0);
    RegisterTicked(record, {2016});
    EXPECT_EQ(std::string(kFolder) + "\\Trabex2015.ARX", Loader(a, "Trabex2016"));
    EXPECT_EQ(std::string(kFolder) + "\\Trabex2015.ARX", Loader(b, "Trabex2016"));
    EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, gone.substr(0, gone.size() - 1)));
}

TEST_F(LoadRegistration, ExistingKeyEndsWithExactlyTheTwoValues)
{
    const std::string p = AddProduct(2010, "ACAD-8001:804");
    Reg::SetString(Reg::kMachine, p + "Applications\\Trabex2010", "LOADER", "D:\\old\\Trabex2010.ARX");
    Reg::SetString(Reg::kMachine, p + "Applications\\Trabex2010", "DESCRIPTION", "old");
    Reg::SetDword(Reg::kMachine, p + "Applications\\Trabex2010", "LOADCTRLS", 14);
    RegisterTicked(record, {2010});
    const auto values = Reg::Values(Reg::kMachine, p + "Applications\\Trabex2010");
    ASSERT_EQ(2u, values.size());
    EXPECT_EQ(std::string(kFolder) + "\\Trabex2010.ARX", Loader(p, "Trabex2010"));
}

TEST_F(LoadRegistration, KeyWithASubKeyStillGetsBothValues)
{
    const std::string p = AddProduct(2013, "ACAD-B001:804");
    Reg::SetString(Reg::kMachine, p + "Applications\\Trabex2013\\Commands", "X", "Y");
    Reg::SetString(Reg::kMachine, p + "Applications\\Trabex2013", "DESCRIPTION", "kept");
    RegisterTicked(record, {2013});
    const auto values = Reg::Values(Reg::kMachine, p + "Applications\\Trabex2013");
    EXPECT_EQ(3u, values.size());  // the delete failed: the old value stays beside the new ones
    EXPECT_EQ(std::string(kFolder) + "\\Trabex2013.ARX", Loader(p, "Trabex2013"));
    EXPECT_TRUE(Reg::KeyExists(Reg::kMachine, p + "Applications\\Trabex2013\\Commands"));
}

TEST_F(LoadRegistration, NothingTickedOrNothingFoundWritesNothingUnderTheMachine)
{
    AddProduct(2012, "ACAD-A001:804");
    const std::string before = Reg::Export(Reg::kMachine, "SOFTWARE");
    Reg::SetString(Reg::kUser, "SOFTWARE\\Autodesk\\AutoCAD\\R19.0\\ACAD-B001:804\\Profiles\\P\\Variables",
                   "TRUSTEDPATHS", "c:\\tools");
    RegisterTicked(record, {});
    RegisterTicked(record, {2014});  // ticked, but no product key was found
    NoteRecorder log;
    FailureList failures;
    record.RegisterLoader(2006, log, failures);
    record.RegisterLoader(2028, log, failures);
    EXPECT_TRUE(failures.IsEmpty());
    EXPECT_EQ(before, Reg::Export(Reg::kMachine, "SOFTWARE"));
    // The trusted-path update ran all the same.
    EXPECT_EQ("C:\\TOOLS;C:\\TRABEX\\Q-OSTREVO",
              Reg::GetString(Reg::kUser,
                             "SOFTWARE\\Autodesk\\AutoCAD\\R19.0\\ACAD-B001:804\\Profiles\\P\\Variables",
                             "TRUSTEDPATHS"));
}

TEST_F(LoadRegistration, ModulePathThatDoesNotFitIsNeverWrittenCut)
{
    const std::string p = AddProduct(2010, "ACAD-8001:804");
    record.SetInstallFolder(("C:\\" + std::string(242, 'x')).c_str());  // 245 + 15 > 259
    RegisterTicked(record, {2010});
    EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, p + "Applications\\Trabex2010"));
    record.SetInstallFolder(("C:\\" + std::string(241, 'x')).c_str());  // exactly 259
    RegisterTicked(record, {2010});
    EXPECT_EQ(259u, Loader(p, "Trabex2010").size());
}

TEST_F(LoadRegistration, EditionExtrasFor2009And2010)
{
    const std::string p2009 = AddProduct(2009, "ACAD-7001:804");
    const std::string p2010 = AddProduct(2010, "ACAD-8001:804");
    const std::string p2011 = AddProduct(2011, "ACAD-9001:804");
    RegisterTicked(record, {2009, 2010, 2011});
    EXPECT_EQ(std::string(kFolder) + "\\Trabex2009.ARX", Loader(p2009, "Trabex2009"));
    EXPECT_EQ(std::string(kFolder) + "\\Trabex2010.ARX", Loader(p2010, "Trabex2010"));
    if (g_nTargetBits == 64) {
        EXPECT_EQ(std::string(kFolder) + "\\Trabex2008.ARX", Loader(p2009, "Trabex2008"));
        EXPECT_EQ(std::string(kFolder) + "\\Trabex2010_32.ARX", Loader(p2010, "Trabex2010_32"));
        EXPECT_EQ(std::string("\x02\0\0\0", 4),
                  Reg::GetRaw(Reg::kMachine, p2010 + "Applications\\Trabex2010_32", "LOADCTRLS").second);
        // 2011 gets nothing extra.
        EXPECT_EQ("[" + p2011 + "Applications]\n[" + p2011 + "Applications\\Trabex2011]\n",
                  KeyLines(p2011 + "Applications"));
    } else {
        EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, p2009 + "Applications\\Trabex2008"));
        EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, p2010 + "Applications\\Trabex2010_32"));
    }
}

// A product key discovery reached one level at a time, whose full path is longer
// than one registry call accepts (a 255-character release key name): it is
// registered like any other, and the rights check passes it.
TEST_F(LoadRegistration, ProductKeyLongerThanOneRegistryCallIsRegistered)
{
    const std::string release(255, 'R');
    const std::string productKey = "SOFTWARE\\Autodesk\\AutoCAD\\" + release + "\\ACAD-8001:804\\";
    HKEY parent = HKEY_LOCAL_MACHINE;
    for (const char* name : {"SOFTWARE", "Autodesk", "AutoCAD", release.c_str(), "ACAD-8001:804"}) {
        HKEY child = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS | Reg::kOwnView, nullptr, &child, nullptr));
        if (parent != HKEY_LOCAL_MACHINE)
            RegCloseKey(parent);
        parent = child;
    }
    RegCloseKey(parent);
    record.m_arrProductKeys[ReleaseIndex(2010)].Add(productKey.c_str());
    record.m_arrAcadFolders[ReleaseIndex(2010)].Add("C:\\ACAD");

    ReleaseTicks ticked;
    SetTicks(ticked, {2010});
    CString denied;
    EXPECT_TRUE(record.CanRegister(ticked, denied)) << denied.GetString();
    EXPECT_TRUE(RegisterTicked(record, {2010}).IsEmpty());
    RegKey registration;
    ASSERT_TRUE(registration.Open(HKEY_LOCAL_MACHINE, CStringW::FromText((productKey + "Applications\\Trabex2010").c_str()), KEY_READ,
                                  RegKey::kOneLevelAtATime));
    CString loader;
    ASSERT_TRUE(registration.QueryText(L"LOADER", loader));
    EXPECT_STREQ("C:\\Trabex\\Q-Ostrevo\\Trabex2010.ARX", loader.GetString());
}
