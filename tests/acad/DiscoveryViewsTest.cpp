// Discovery against registry links and the real WOW64 registry views.
#include "acad/AcadRegistry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Registry.h"
#include "tests/support/RegistryLinks.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"


TEST(DiscoveryLinks, LinkBackToTheReleaseKeyIsNotFollowed)
{
    RegistrySandbox sandbox;
    const std::string release = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0";
    Reg::SetString(Reg::kMachine, release + "\\ACAD-8001:804", "AcadLocation", "C:\\ACAD2010");
    Reg::SetString(Reg::kMachine, release + "\\ACAD-8001:804", "ProductName", "AutoCAD 2010");
    ASSERT_TRUE(CreateLink(release, "Loop", release)) << "cannot create a registry link";
    ASSERT_TRUE(Reg::KeyExists(Reg::kMachine, release + "\\Loop\\Loop\\ACAD-8001:804"));

    CAcadRegistry record;
    record.FindAcadReleases();

    // The link is a key without sub-keys to the walk: the product is recorded once,
    // and the rights check (which opens every recorded key) finds nothing to refuse.
    const CStringArray& keys = record.m_arrProductKeys[ReleaseIndex(2010)];
    ASSERT_EQ(1, keys.GetSize());
    EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\", keys[0].GetString());
    BOOL ticked[kReleaseCount] = {};
    ticked[ReleaseIndex(2010)] = TRUE;
    CString denied;
    EXPECT_TRUE(record.CanRegister(ticked, denied)) << denied.GetString();
    DeleteLink(release + "\\Loop");
}

TEST(DiscoveryLinks, VeryDeepTreeIsSearchedDownToTheLimit)
{
    RegistrySandbox sandbox;
    std::string path = "SOFTWARE\\Autodesk\\AutoCAD\\R";
    // 511 levels below the release key: the value is still found at level 511.
    for (int i = 0; i < 511; ++i)
        path += "\\k";
    Reg::SetString(Reg::kMachine, path, "AcadLocation", "C:\\Deep");
    Reg::SetString(Reg::kMachine, path, "ProductName", "AutoCAD 2012");
    CAcadRegistry record;
    record.FindAcadReleases();
    EXPECT_EQ(1, record.m_arrAcadFolders[ReleaseIndex(2012)].GetSize());
}

// Not sandboxed: WOW64 redirection applies only to the real HKEY_LOCAL_MACHINE.
TEST(DiscoveryViews, WhatEachScanSeesOfTheTwoRegistryViews)
{
    const char* k64 = "SOFTWARE\\Autodesk\\AutoCAD\\TrabexViewTest\\P64";
    const char* k32 = "SOFTWARE\\Autodesk\\AutoCAD\\TrabexViewTest\\P32";
    auto write = [](const char* path, const Reg::Place& at, const char* folder, const char* name) {
        Reg::SetString(at, path, "AcadLocation", folder);
        Reg::SetString(at, path, "ProductName", name);
    };
    // 2010 in the 64-bit view, 2008 in the 32-bit view (what 32-bit AutoCAD writes).
    write(k64, Reg::kMachine64, "C:\\ACAD64", "AutoCAD 2010");
    write(k32, Reg::kMachine32, "C:\\ACAD32", "AutoCAD 2008");

    CAcadRegistry record;
    record.FindAcadReleases();
    const CStringArray& keys2008 = record.m_arrProductKeys[ReleaseIndex(2008)];
    const CStringArray& keys2010 = record.m_arrProductKeys[ReleaseIndex(2010)];

    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (wow64) {
        // A 32-bit setup: its plain path is redirected to the 32-bit view, and the
        // explicit Wow6432Node path reaches the same view, so 32-bit AutoCAD is
        // recorded twice, the Wow6432Node entry first; the 64-bit one is never seen.
        ASSERT_EQ(2, keys2008.GetSize());
        EXPECT_STREQ("SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\TrabexViewTest\\P32\\",
                     keys2008[0].GetString());
        EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\TrabexViewTest\\P32\\", keys2008[1].GetString());
        EXPECT_EQ(0, keys2010.GetSize());
    } else {
        // A 64-bit build of the same code sees the 64-bit view under the plain path
        // and the 32-bit view through the explicit Wow6432Node path.
        ASSERT_EQ(1, keys2010.GetSize());
        EXPECT_STREQ("SOFTWARE\\Autodesk\\AutoCAD\\TrabexViewTest\\P64\\", keys2010[0].GetString());
        ASSERT_EQ(1, keys2008.GetSize());
        EXPECT_STREQ("SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\TrabexViewTest\\P32\\",
                     keys2008[0].GetString());
    }
    // The two roots are one key to a 32-bit program on 64-bit Windows, two to a
    // 64-bit one: discovery walks the tree once where they are one.
    RegKey wowRoot, mainRoot;
    ASSERT_TRUE(wowRoot.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD", KEY_READ));
    ASSERT_TRUE(mainRoot.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Autodesk\\AutoCAD", KEY_READ));
    EXPECT_FALSE(wowRoot.FullName().IsEmpty());
    EXPECT_EQ(wow64 != FALSE, wowRoot.FullName().EqualsNoCase(mainRoot.FullName()));
    for (const Reg::Place& view : {Reg::kMachine64, Reg::kMachine32})
        Reg::DeleteTree(view, "SOFTWARE\\Autodesk\\AutoCAD\\TrabexViewTest");
}
