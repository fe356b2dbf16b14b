#include "platform/Registry.h"

#include <gtest/gtest.h>

#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

TEST(RegKey, OpenCreateQueryAndClose)
{
    RegistrySandbox sandbox;
    RegKey key;
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Missing", KEY_READ).Code());
    EXPECT_FALSE(key.IsOpen());

    ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A\\B\\C"));
    EXPECT_TRUE(key.SetStringW(L"LOADER", CStringW::FromText("D:\\x")));
    EXPECT_TRUE(key.SetDword(L"LOADCTRLS", 2));
    key.Close();

    EXPECT_EQ(std::string("D:\\x\0", 5), Reg::GetRaw(Reg::kMachine, "SOFTWARE\\A\\B\\C", "LOADER").second);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), Reg::GetRaw(Reg::kMachine, "SOFTWARE\\A\\B\\C", "LOADCTRLS").first);

    RegKey a;
    ASSERT_TRUE(a.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A", KEY_READ));
    EXPECT_EQ(1u, a.SubKeyCount());
    CStringW name;
    EXPECT_TRUE(a.EnumSubKey(0, name));
    EXPECT_TRUE(name == CStringW(L"B"));
    EXPECT_FALSE(a.EnumSubKey(1, name));
    EXPECT_TRUE(name.IsEmpty());

    RegKey same;
    EXPECT_TRUE(same.Open(a.Get(), L"", KEY_READ));
    EXPECT_EQ(1u, same.SubKeyCount());
}

TEST(RegKey, TextsAreWrittenAndReadWholeWithoutAQuestionMark)
{
    RegistrySandbox sandbox;
    RegKey key;
    ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, L"K"));
    // The program's GBK text is stored as the same Unicode text on any code page.
    ASSERT_TRUE(key.SetStringW(L"LOADER", CStringW::FromText("D:\\工具\\Q-Ostrevo\\Trabex2010.ARX")));
    CStringW wide;
    ASSERT_TRUE(key.QueryStringW(L"LOADER", wide));
    EXPECT_TRUE(wide == CStringW(L"D:\\\x5DE5\x5177\\Q-Ostrevo\\Trabex2010.ARX"));
    CString text;
    ASSERT_TRUE(key.QueryText(L"LOADER", text));
    EXPECT_STREQ("D:\\工具\\Q-Ostrevo\\Trabex2010.ARX", text.GetString());
    // Any length is read whole.
    ASSERT_TRUE(key.SetStringW(L"V", CStringW::FromText(std::string(3000, 'x').c_str())));
    ASSERT_TRUE(key.QueryText(L"V", text));
    EXPECT_EQ(3000, text.GetLength());
    // A character GBK lacks is never turned into '?': the value is refused.
    ASSERT_TRUE(key.SetStringW(L"AcadLocation", CStringW(L"C:\\S\x00F8ren")));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), key.QueryText(L"AcadLocation", text).Code());
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), key.QueryText(L"Missing", text).Code());
}

TEST(RegKey, DeleteSubKeyFailsWhenKeyHasSubKeys)
{
    RegistrySandbox sandbox;
    Reg::SetString(Reg::kMachine, "P\\Applications\\Trabex2010\\Child", "x", "y");
    Reg::SetString(Reg::kMachine, "P\\Applications\\Trabex2011", "x", "y");
    RegKey p;
    ASSERT_TRUE(p.Open(HKEY_LOCAL_MACHINE, L"P", MAXIMUM_ALLOWED));
    EXPECT_FALSE(p.DeleteSubKey(L"Applications\\Trabex2010"));
    EXPECT_TRUE(Reg::KeyExists(Reg::kMachine, "P\\Applications\\Trabex2010\\Child"));
    EXPECT_TRUE(p.DeleteSubKey(L"Applications\\Trabex2011"));
    EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, "P\\Applications\\Trabex2011"));
}

TEST(RegKey, MoveTransfersOwnership)
{
    RegistrySandbox sandbox;
    RegKey a;
    ASSERT_TRUE(a.Create(HKEY_LOCAL_MACHINE, L"M"));
    RegKey b(std::move(a));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_TRUE(b.IsOpen());
    RegKey c;
    c = std::move(b);
    EXPECT_TRUE(c.IsOpen());
    EXPECT_FALSE(b.IsOpen());
}

// A registration AutoCAD added a group to whose name GBK cannot hold (Korean,
// Danish) is deleted whole; its sibling stays.
TEST(RegKey, DeleteTreeTakesSubKeysOfAnyLanguage)
{
    RegistrySandbox sandbox;
    RegKey key;
    ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, L"P\\Applications\\Trabex2010\\\xD55C\xAD6D\\S\x00F8ren"));
    ASSERT_TRUE(key.SetStringW(L"x", CStringW(L"y")));
    key.Close();
    Reg::SetString(Reg::kMachine, "P\\Applications\\Trabex2011", "x", "y");
    RegKey p;
    ASSERT_TRUE(p.Open(HKEY_LOCAL_MACHINE, L"P", MAXIMUM_ALLOWED));
    EXPECT_TRUE(p.DeleteTree(L"Applications\\Trabex2010"));
    EXPECT_FALSE(Reg::KeyExists(Reg::kMachine, "P\\Applications\\Trabex2010"));
    EXPECT_TRUE(Reg::KeyExists(Reg::kMachine, "P\\Applications\\Trabex2011"));
}

TEST(RegSubKeys, EachSubKeyTellsWhatItHoldsWithoutBeingOpened)
{
    RegistrySandbox sandbox;
    Reg::SetString(Reg::kMachine, "SOFTWARE\\P\\Full", "AcadLocation", "C:\\x");
    Reg::SetString(Reg::kMachine, "SOFTWARE\\P\\Full", "Ver", "1");
    Reg::CreateKey(Reg::kMachine, "SOFTWARE\\P\\Full\\One");
    Reg::CreateKey(Reg::kMachine, "SOFTWARE\\P\\Full\\Two");
    Reg::CreateKey(Reg::kMachine, "SOFTWARE\\P\\Leaf");
    // A class name longer than the reading takes in: Windows then tells nothing (the
    // walk opens the key), Wine tells the counts; never too little.
    HKEY parent = Reg::CreateOrFail(Reg::kMachine, "SOFTWARE\\P");
    HKEY classy = nullptr;
    std::wstring longClass(400, L'c');
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, L"Classy", 0, &longClass[0], 0, KEY_ALL_ACCESS, nullptr,
                                             &classy, nullptr));
    Reg::SetString(Reg::kMachine, "SOFTWARE\\P\\Classy", "ProductName", "AutoCAD 2020");
    RegCloseKey(classy);
    RegCloseKey(parent);

    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\P", KEY_READ | Reg::kOwnView));
    int seen = 0;
    DWORD subKeys = 9, values = 9, longest = 9;
    EXPECT_FALSE(RegSubKeys(key).CurrentCounts(&subKeys, &values, &longest)) << "no sub-key reached yet";
    for (RegSubKeys names(key); names.Next(); ++seen) {
        const bool told = names.CurrentCounts(&subKeys, &values, &longest);
        if (names.Name() == CStringW(L"Full")) {
            EXPECT_TRUE(told);
            EXPECT_EQ(2u, subKeys);
            EXPECT_EQ(2u, values);
            EXPECT_EQ(12u, longest) << "in characters, as RegQueryInfoKeyW counts";
        } else if (names.Name() == CStringW(L"Leaf")) {
            EXPECT_TRUE(told);
            EXPECT_EQ(0u, subKeys + values + longest);
        } else if (told) {
            EXPECT_EQ(0u, subKeys);
            EXPECT_EQ(1u, values) << "a class name past the room must not pass as an empty key";
            EXPECT_EQ(11u, longest);
        } else {
            EXPECT_EQ(0u, subKeys + values + longest);
        }
    }
    EXPECT_EQ(3, seen);
}
