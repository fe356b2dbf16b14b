// The removal plan: which registrations and trusted-path entries are the folder's
// own however it is spelled, and when AutoCAD 2008's plot driver comes back.
#include "acad/Removal.h"

#include <gtest/gtest.h>

#include "acad/TrustedPaths.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"
#include "tests/support/TempFolder.h"

// Trusted-path entries: any spelling of the folder itself is the install's; the
// "\" and "\..." forms and relative ones are the user's own and stay.
TEST(RemovalPlan, ATrustedPathEntryIsTheFoldersOwnInAnySpellingButItsUsersForms)
{
    TempFolder root;
    const std::string folder = root / "Q-Ostrevo";
    Disk::MakeFolder(folder);
    std::string slashes = folder;
    for (char& c : slashes)
        if (c == '\\')
            c = '/';
    char shortName[MAX_PATH] = {};
    GetShortPathNameA(folder.c_str(), shortName, sizeof shortName);
    const CStringW wideFolder = CStringW::FromText(folder.c_str());
    EXPECT_TRUE(IsSameFolder(CStringW::FromText(shortName), wideFolder));
    EXPECT_TRUE(IsSameFolder(CStringW::FromText(slashes.c_str()), wideFolder));
    EXPECT_FALSE(IsSameFolder(CStringW::FromText((folder + "\\").c_str()), wideFolder));
    EXPECT_FALSE(IsSameFolder(CStringW::FromText((folder + "\\...").c_str()), wideFolder));
    EXPECT_FALSE(IsSameFolder(L"Q-Ostrevo", wideFolder));
}

// AutoCAD 2008 had no driver of its own: the add-on's goes, nothing is restored;
// another file there, or one another installation still uses, stays.
TEST(RemovalPlan, ADriverPlacedWhereAutoCadHadNoneIsDeleted)
{
    struct Case {
        const char* driver;
        const char* otherLoader;
        bool deleted;
    };
    const Case cases[] = {
        {"add-on driver", "", true},
        {"a driver of the user's", "", false},
        {"add-on driver", "D:\\Old\\Q-Ostrevo\\Trabex2008.ARX", false},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        TempFolder root;
        const std::string folder = root / "Q-Ostrevo";
        const std::string acad = root / "AutoCAD 2008";
        Disk::MakeFolder(folder);
        Disk::MakeFolder(acad);
        Disk::MakeFolder(acad + "\\Drv");
        Disk::WriteFile(folder + "\\Trabex.prt5", "add-on driver");
        Disk::WriteFile(acad + "\\Drv\\pdfplot9.hdi", c.driver);
        const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
        Reg::SetString(Reg::kMachine, product + "Applications\\Trabex2008", "LOADER", folder + "\\Trabex2008.ARX");
        if (*c.otherLoader)
            Reg::SetString(Reg::kMachine, product + "Applications\\Trabex2007", "LOADER", c.otherLoader);
        CAcadRegistry record;
        record.m_arrAcadFolders[ReleaseIndex(2008)].Add(acad.c_str());
        record.m_arrProductKeys[ReleaseIndex(2008)].Add(product.c_str());

        CRemovalPlan plan;
        PlanRemoval(record, folder.c_str(), plan);
        EXPECT_EQ(0, plan.m_arrDriverFolders.GetSize()) << "nothing to restore";
        FailureList leftovers;
        RemoveFromAcad(plan, folder.c_str(), leftovers);
        EXPECT_TRUE(leftovers.IsEmpty());
        EXPECT_EQ(!c.deleted, Disk::IsFile(acad + "\\Drv\\pdfplot9.hdi")) << c.driver << c.otherLoader;
        EXPECT_FALSE(Disk::IsFile(acad + "\\Drv\\pdfplot9.hdi.bak"));
    }
}

TEST(RemovalPlan, TheDriverComesBackOnlyOverTheAddOnsOwnFileAndWhenNoOtherInstallUsesIt)
{
    struct Case {
        const char* driver;     // what pdfplot9.hdi holds now
        const char* otherLoader;  // another 2008 registration's module, or ""
        bool restored;
    };
    const Case cases[] = {
        {"add-on driver", "", true},
        {"another add-on's driver", "", false},
        {"add-on driver", "D:\\Old\\Q-Ostrevo\\Trabex2008.ARX", false},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        TempFolder root;
        const std::string folder = root / "Q-Ostrevo";
        const std::string acad = root / "AutoCAD 2008";
        Disk::MakeFolder(folder);
        Disk::MakeFolder(acad);
        Disk::MakeFolder(acad + "\\Drv");
        Disk::WriteFile(folder + "\\Trabex.prt5", "add-on driver");
        Disk::WriteFile(acad + "\\Drv\\pdfplot9.hdi", c.driver);
        Disk::WriteFile(acad + "\\Drv\\pdfplot9.hdi.bak", "AutoCAD's own");
        const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
        Reg::SetString(Reg::kMachine, product + "Applications\\Trabex2008", "LOADER", folder + "\\Trabex2008.ARX");
        if (*c.otherLoader)
            Reg::SetString(Reg::kMachine, product + "Applications\\Trabex2007", "LOADER", c.otherLoader);
        CAcadRegistry record;
        record.m_arrAcadFolders[ReleaseIndex(2008)].Add(acad.c_str());
        record.m_arrProductKeys[ReleaseIndex(2008)].Add(product.c_str());

        CRemovalPlan plan;
        PlanRemoval(record, folder.c_str(), plan);
        EXPECT_EQ(c.restored ? 1 : 0, plan.m_arrDriverFolders.GetSize()) << c.driver << c.otherLoader;
        EXPECT_EQ(c.restored ? 0 : 1, plan.m_arrDriversLeft.GetSize()) << c.driver << c.otherLoader;
        SetFileAttributesA((acad + "\\Drv\\pdfplot9.hdi.bak").c_str(), FILE_ATTRIBUTE_READONLY);
        FailureList leftovers;
        RemoveFromAcad(plan, folder.c_str(), leftovers);
        EXPECT_TRUE(leftovers.IsEmpty());
        EXPECT_EQ(c.restored ? "AutoCAD's own" : c.driver, Disk::ReadFile(acad + "\\Drv\\pdfplot9.hdi"));
        EXPECT_EQ(!c.restored, Disk::IsFile(acad + "\\Drv\\pdfplot9.hdi.bak")) << "a read-only backup goes too";
    }
}
