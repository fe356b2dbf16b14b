#include "acad/AcadRegistry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

namespace {

const std::string kMain = "SOFTWARE\\Autodesk\\AutoCAD";
const std::string kWow = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD";

// Registers one product key: both values in the same key.
void AddProduct(const std::string& keyPath, const std::string& folder, const std::string& name)
{
    Reg::SetString(Reg::kMachine, keyPath, "AcadLocation", folder);
    Reg::SetString(Reg::kMachine, keyPath, "ProductName", name);
}

int TotalEntries(const CAcadRegistry& r)
{
    int n = 0;
    for (int k = 0; k < kReleaseCount; ++k) {
        EXPECT_EQ(r.m_arrAcadFolders[k].GetSize(), r.m_arrProductKeys[k].GetSize());
        n += r.m_arrAcadFolders[k].GetSize();
    }
    return n;
}

class Discovery : public ::testing::Test {
protected:
    RegistrySandbox sandbox;
    CAcadRegistry record;
};

} // namespace

TEST_F(Discovery, MachineWithoutAutoCadRecordsNothing)
{
    record.FindAcadReleases();
    EXPECT_EQ(0, TotalEntries(record));
    Reg::CreateKey(Reg::kMachine, kMain + "\\R18.0\\ACAD-8001:804");
    record.FindAcadReleases();
    EXPECT_EQ(0, TotalEntries(record));
}

TEST_F(Discovery, ProductKeyBelowReleaseKeyIsRecordedWithoutTrailingBackslash)
{
    AddProduct(kMain + "\\R18.0\\ACAD-8001:804", "C:\\Program Files\\AutoCAD 2010\\",
               "AutoCAD 2010 - 简体中文 (Simplified Chinese)");
    record.FindAcadReleases();
    const int k = ReleaseIndex(2010);
    ASSERT_EQ(1, record.m_arrAcadFolders[k].GetSize());
    EXPECT_STREQ("C:\\Program Files\\AutoCAD 2010", record.m_arrAcadFolders[k][0].GetString());
    EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\",
                 record.m_arrProductKeys[k][0].GetString());
    EXPECT_EQ(1, TotalEntries(record));
    EXPECT_STREQ("ProductName", record.m_strValueName.GetString());
}

TEST_F(Discovery, YearRulesLowestYearWinsAndPositionZeroDoesNotCount)
{
    AddProduct(kMain + "\\A\\P1", "C:\\A1", "AutoCAD 2010 (2007 compatible)");
    AddProduct(kMain + "\\B\\P2", "C:\\B2", "2012 AutoCAD 2012");
    AddProduct(kMain + "\\C\\P3", "C:\\C3", "2012 AutoCAD 2013");
    AddProduct(kMain + "\\D\\P4", "C:\\D4", "AutoCAD LT");
    AddProduct(kMain + "\\E\\P5", "C:\\E5", "AutoCAD 2028");
    record.FindAcadReleases();
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2007)].GetSize());
    EXPECT_STREQ("C:\\A1", record.m_arrAcadFolders[ReleaseIndex(2007)][0].GetString());
    EXPECT_EQ(0, record.m_arrAcadFolders[ReleaseIndex(2010)].GetSize());
    EXPECT_EQ(0, record.m_arrAcadFolders[ReleaseIndex(2012)].GetSize());
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2013)].GetSize());
    EXPECT_STREQ("C:\\C3", record.m_arrAcadFolders[ReleaseIndex(2013)][0].GetString());
    EXPECT_EQ(2, TotalEntries(record));
}

TEST_F(Discovery, Wow6432ScanTestsOnlyTheFirstFourReleasesAndStandsFirst)
{
    AddProduct(kWow + "\\R17.1\\ACAD-6001:804", "C:\\ACAD2008", "AutoCAD 2008");
    AddProduct(kWow + "\\R18.1\\ACAD-9001:804", "C:\\ACAD2011", "AutoCAD 2011");
    AddProduct(kMain + "\\R17.1\\ACAD-6001:804", "C:\\ACAD2008", "AutoCAD 2008");
    record.FindAcadReleases();
    const int k = ReleaseIndex(2008);
    ASSERT_EQ(2, record.m_arrAcadFolders[k].GetSize());
    EXPECT_STREQ("SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\",
                 record.m_arrProductKeys[k][0].GetString());
    EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\",
                 record.m_arrProductKeys[k][1].GetString());
    EXPECT_STREQ(record.m_arrAcadFolders[k][0].GetString(), record.m_arrAcadFolders[k][1].GetString());
    EXPECT_EQ(0, record.m_arrAcadFolders[ReleaseIndex(2011)].GetSize());
}

TEST_F(Discovery, SeveralProductsOfOneReleaseInEnumerationOrder)
{
    AddProduct(kMain + "\\R19.0\\ACAD-B001:804", "C:\\Civil", "AutoCAD Civil 3D 2013");
    AddProduct(kMain + "\\R19.0\\ACAD-B001:409", "C:\\Plain", "AutoCAD 2013");
    record.FindAcadReleases();
    const CStringArray& keys = record.m_arrProductKeys[ReleaseIndex(2013)];
    ASSERT_EQ(2, keys.GetSize());
    EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\R19.0\\ACAD-B001:409\\", keys[0].GetString());
    EXPECT_STREQ("C:\\Plain", record.m_arrAcadFolders[ReleaseIndex(2013)][0].GetString());
    EXPECT_STREQ("C:\\Civil", record.m_arrAcadFolders[ReleaseIndex(2013)][1].GetString());
}

TEST_F(Discovery, KeyLevelsDecideWhatMatches)
{
    // The release key itself holds both: recorded with the base path; sub-keys not searched.
    AddProduct(kMain + "\\R20.0", "C:\\Self", "AutoCAD 2015");
    AddProduct(kMain + "\\R20.0\\Below", "C:\\Below", "AutoCAD 2015");
    // Name on the release key, folder one level below: different key paths, nothing.
    Reg::SetString(Reg::kMachine, kMain + "\\R21.0", "ProductName", "AutoCAD 2017");
    Reg::SetString(Reg::kMachine, kMain + "\\R21.0\\P", "AcadLocation", "C:\\X");
    // Nested two levels below the release key.
    AddProduct(kMain + "\\R22.0\\Group\\P", "C:\\Deep", "AutoCAD 2018");
    // Release key names play no part.
    AddProduct(kMain + "\\anything\\else", "C:\\Odd", "AutoCAD 2019");
    record.FindAcadReleases();
    ASSERT_EQ(1, record.m_arrProductKeys[ReleaseIndex(2015)].GetSize());
    EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\R20.0\\",
                 record.m_arrProductKeys[ReleaseIndex(2015)][0].GetString());
    EXPECT_STREQ("C:\\Self", record.m_arrAcadFolders[ReleaseIndex(2015)][0].GetString());
    EXPECT_EQ(0, record.m_arrProductKeys[ReleaseIndex(2017)].GetSize());
    ASSERT_EQ(1, record.m_arrProductKeys[ReleaseIndex(2018)].GetSize());
    EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\Group\\P\\",
                 record.m_arrProductKeys[ReleaseIndex(2018)][0].GetString());
    EXPECT_EQ(1, record.m_arrProductKeys[ReleaseIndex(2019)].GetSize());
}

TEST_F(Discovery, FolderValuesKeepTheirFormApartFromOneBackslash)
{
    AddProduct(kMain + "\\A\\P", "", "AutoCAD 2009");
    AddProduct(kMain + "\\B\\P", "D:\\", "AutoCAD 2014");
    AddProduct(kMain + "\\C\\P", "E:\\ACAD\\\\", "AutoCAD 2016");
    AddProduct(kMain + "\\D\\P", "%ProgramFiles%\\扩展\\", "AutoCAD 2020");
    record.FindAcadReleases();
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2009)].GetSize());
    EXPECT_STREQ("", record.m_arrAcadFolders[ReleaseIndex(2009)][0].GetString());
    EXPECT_STREQ("D:", record.m_arrAcadFolders[ReleaseIndex(2014)][0].GetString());
    EXPECT_STREQ("E:\\ACAD\\", record.m_arrAcadFolders[ReleaseIndex(2016)][0].GetString());
    EXPECT_STREQ("%ProgramFiles%\\扩展", record.m_arrAcadFolders[ReleaseIndex(2020)][0].GetString());
}

// A product is never dropped for the characters of its name: the year is read on
// the name as Windows gives it, also where GBK lacks a character of it.
TEST_F(Discovery, ProductNamesInEveryLanguageAreFoundByTheirYear)
{
    const struct {
        const char* key;
        const wchar_t* name;
        int year;
    } products[] = {
        {"\\R17.1\\ACAD-6001:40A", L"AutoCAD 2008 - Espa\u00f1ol (Spanish)", 2008},
        {"\\R18.0\\ACAD-8001:40C", L"AutoCAD 2010 - Fran\u00e7ais (French)", 2010},
        {"\\R18.2\\ACAD-A001:405", L"AutoCAD 2012 - \u010ce\u0161tina (Czech)", 2012},
        {"\\R19.1\\ACAD-D001:41F", L"AutoCAD 2014 - T\u00fcrk\u00e7e (Turkish)", 2014},
        {"\\R20.1\\ACAD-F001:412", L"AutoCAD 2016 - \ud55c\uad6d\uc5b4 (Korean)", 2016},
    };
    for (const auto& p : products) {
        Reg::SetString(Reg::kMachine, kMain + p.key, "AcadLocation", std::string("C:\\ACAD") + std::to_string(p.year));
        Reg::SetStringW(Reg::kMachine, kMain + p.key, "ProductName", p.name);
    }
    record.FindAcadReleases();
    for (const auto& p : products) {
        const int k = ReleaseIndex(p.year);
        ASSERT_EQ(1, record.m_arrAcadFolders[k].GetSize()) << p.year;
        EXPECT_EQ("C:\\ACAD" + std::to_string(p.year), record.m_arrAcadFolders[k][0].Std());
        EXPECT_EQ(kMain + p.key + "\\", record.m_arrProductKeys[k][0].Std());
    }
    EXPECT_EQ(5, TotalEntries(record));
}

TEST_F(Discovery, OddValueDataNeverReadsPastTheBuffer)
{
    // 519 and 520 bytes fit the 520-byte buffer; 600 do not and count as absent.
    AddProduct(kMain + "\\A\\P", std::string(518, 'a'), "AutoCAD 2007");
    AddProduct(kMain + "\\B\\P", std::string(519, 'b'), "AutoCAD 2008");
    // Only the folder on P: the collector then searches below P and finds Inner.
    Reg::SetString(Reg::kMachine, kMain + "\\C\\P", "AcadLocation", std::string(599, 'c'));
    Reg::SetString(Reg::kMachine, kMain + "\\C\\P\\Inner", "AcadLocation", "C:\\Inner");
    Reg::SetString(Reg::kMachine, kMain + "\\C\\P\\Inner", "ProductName", "AutoCAD 2009");
    // Binary data without a terminating zero, exactly 520 bytes.
    Reg::SetBinary(Reg::kMachine, kMain + "\\D\\P", "AcadLocation", std::string(520, 'd'));
    Reg::SetBinary(Reg::kMachine, kMain + "\\D\\P", "ProductName", std::string("AutoCAD 2010", 12));
    // Binary data with a zero in the middle: text up to the zero.
    Reg::SetBinary(Reg::kMachine, kMain + "\\E\\P", "AcadLocation", std::string("C:\\E\0junk", 9));
    Reg::SetBinary(Reg::kMachine, kMain + "\\E\\P", "ProductName", std::string("X 2011\0 2007", 12));
    record.FindAcadReleases();
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2007)].GetSize());
    EXPECT_EQ(518, record.m_arrAcadFolders[ReleaseIndex(2007)][0].GetLength());
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2008)].GetSize());
    EXPECT_EQ(519, record.m_arrAcadFolders[ReleaseIndex(2008)][0].GetLength());
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2009)].GetSize());
    EXPECT_STREQ("C:\\Inner", record.m_arrAcadFolders[ReleaseIndex(2009)][0].GetString());
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2010)].GetSize());
    EXPECT_EQ(std::string(520, 'd'), record.m_arrAcadFolders[ReleaseIndex(2010)][0].Std());
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2011)].GetSize());
    EXPECT_STREQ("C:\\E", record.m_arrAcadFolders[ReleaseIndex(2011)][0].GetString());
}

TEST_F(Discovery, LongestKeyNamesAreFollowed)
{
    const std::string release(255, 'R');
    const std::string product(255, 'P');
    AddProduct(kMain + "\\" + release + "\\" + product, "C:\\Long", "AutoCAD 2021");
    record.FindAcadReleases();
    ASSERT_EQ(1, record.m_arrProductKeys[ReleaseIndex(2021)].GetSize());
    EXPECT_EQ(kMain + "\\" + release + "\\" + product + "\\",
              record.m_arrProductKeys[ReleaseIndex(2021)][0].Std());
}

TEST_F(Discovery, KeyThatCannotBeOpenedIsSkipped)
{
    AddProduct(kMain + "\\R1\\Locked", "C:\\Locked", "AutoCAD 2022");
    AddProduct(kMain + "\\R1\\Open", "C:\\Open", "AutoCAD 2022");
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kMain + "\\R1\\Locked").c_str(), 0,
                                           KEY_ALL_ACCESS | Reg::kOwnView, &h));
    // An empty DACL grants nobody anything.
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL acl;
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &sd));
    RegCloseKey(h);
    if (Reg::KeyExists(Reg::kMachine, kMain + "\\R1\\Locked"))
        GTEST_SKIP() << "this Wine does not enforce registry key security";
    record.FindAcadReleases();
    ASSERT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2022)].GetSize());
    EXPECT_STREQ("C:\\Open", record.m_arrAcadFolders[ReleaseIndex(2022)][0].GetString());
}

namespace {

// A random tree below one release key: values at several levels, keys holding
// one value but not the other, products nested in products, and other values
// whose names are shorter or longer than the two searched for.
void GrowTree(std::mt19937& rng, const std::string& path, int depth)
{
    std::uniform_int_distribution<int> pick(0, 9);
    const int roll = pick(rng);
    if (roll < 3 || roll == 9)
        Reg::SetString(Reg::kMachine, path, "AcadLocation", "C:\\F" + std::to_string(pick(rng)));
    if ((roll >= 2 && roll < 5) || roll == 9)
        Reg::SetString(Reg::kMachine, path, "ProductName",
                       "AutoCAD " + std::to_string(2007 + pick(rng) * 2));
    if (roll == 5)
        Reg::SetString(Reg::kMachine, path, "Language", "zh-CN");
    if (roll == 6 || roll == 9)
        Reg::SetString(Reg::kMachine, path, "AcadLocationOfOldRelease", "C:\\Old");
    if (roll == 7 || roll == 2)
        Reg::SetString(Reg::kMachine, path, "Ver", "1");
    Reg::CreateKey(Reg::kMachine, path);
    if (depth == 0)
        return;
    const int children = std::uniform_int_distribution<int>(0, 3)(rng);
    for (int c = 0; c < children; ++c)
        GrowTree(rng, path + "\\K" + std::to_string(c), depth - 1);
}

std::vector<std::string> Items(const CStringArray& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.GetSize(); ++i)
        out.push_back(list[i].Std());
    return out;
}

// Wide names as the program's text (the random trees' names are ASCII).
std::vector<std::string> Items(const CStringArrayW& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.GetSize(); ++i)
        out.push_back(CString::FromWide(list[i].GetString(), list[i].GetLength()).Std());
    return out;
}

} // namespace

TEST_F(Discovery, OneWalkGathersExactlyWhatTheTwoWalksGather)
{
    int hits = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const std::string release = kMain + "\\R" + std::to_string(seed);
        std::mt19937 rng(seed);
        GrowTree(rng, release, 4);
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, release.c_str(), 0, KEY_READ | Reg::kOwnView, &h));
        const CString base = (release + "\\").c_str();

        // The rule of two walks: one search per value name.
        CStringArray twoWalks[4];
        const char* const names[] = {"AcadLocation", "ProductName"};
        for (int n = 0; n < 2; ++n) {
            record.m_arrFoundKeys.RemoveAll();
            record.m_arrFoundValues.RemoveAll();
            record.m_strValueName = names[n];
            record.CollectRegValues(h, "", CString(), base);
            twoWalks[2 * n] = record.m_arrFoundKeys;
            twoWalks[2 * n + 1] = record.m_arrFoundValues;
        }
        CAcadRegistry::ValueHits folders;
        CAcadRegistry::NameHits products;
        record.CollectProductValues(h, "", CString(), base, &folders, &products);
        RegCloseKey(h);

        EXPECT_EQ(Items(twoWalks[0]), Items(folders.keys)) << "seed " << seed;
        EXPECT_EQ(Items(twoWalks[1]), Items(folders.values)) << "seed " << seed;
        EXPECT_EQ(Items(twoWalks[2]), Items(products.keys)) << "seed " << seed;
        EXPECT_EQ(Items(twoWalks[3]), Items(products.values)) << "seed " << seed;
        hits += folders.keys.GetSize() + products.keys.GetSize();
    }
    EXPECT_GT(hits, 60) << "the trees hold too few values to compare";
}
