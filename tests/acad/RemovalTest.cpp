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

// AutoCAD 2008's own driver comes back only over the add-on's own file and when
// no other installation uses it; where AutoCAD had none, the add-on's goes and
// nothing is restored. Anything else there stays.
TEST(RemovalPlan, TheDriverComesBackOrGoesOnlyWhenItIsTheAddOnsOwn)
{
    const struct {
        const char* driver;       // what pdfplot9.hdi holds now
        const char* backup;       // pdfplot9.hdi.bak, or nullptr: AutoCAD had none
        const char* otherLoader;  // another 2008 registration's module, or ""
        const char* after;        // pdfplot9.hdi after the removal
    } cases[] = {
        {"add-on driver", "AutoCAD's own", "", "AutoCAD's own"},
        {"another add-on's driver", "AutoCAD's own", "", "another add-on's driver"},
        {"add-on driver", "AutoCAD's own", "D:\\Old\\Q-Ostrevo\\Trabex2008.ARX", "add-on driver"},
        {"add-on driver", nullptr, "", "<missing>"},
        {"a driver of the user's", nullptr, "", "a driver of the user's"},
        {"add-on driver", nullptr, "D:\\Old\\Q-Ostrevo\\Trabex2008.ARX", "add-on driver"},
    };
    for (const auto& c : cases) {
        RegistrySandbox sandbox;
        TempFolder root;
        const std::string folder = root / "Q-Ostrevo";
        const std::string acad = root / "AutoCAD 2008";
        Disk::MakeFolder(folder);
        Disk::MakeFolder(acad);
        Disk::MakeFolder(acad + "\\Drv");
        Disk::WriteFile(folder + "\\Trabex.prt5", "add-on driver");
        Disk::WriteFile(acad + "\\Drv\\pdfplot9.hdi", c.driver);
        if (c.backup) {
            Disk::WriteFile(acad + "\\Drv\\pdfplot9.hdi.bak", c.backup);
            SetFileAttributesA((acad + "\\Drv\\pdfplot9.hdi.bak").c_str(), FILE_ATTRIBUTE_READONLY);
        }
        const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
        Reg::SetString(Reg::kMachine, product + "Applications\\Trabex2008", "LOADER", folder + "\\Trabex2008.ARX");
        if (*c.otherLoader)
            Reg::SetString(Reg::kMachine, product + "Applications\\Trabex2007", "LOADER", c.otherLoader);
        CAcadRegistry record;
        record.m_arrAcadFolders[ReleaseIndex(2008)].Add(acad.c_str());
        record.m_arrProductKeys[ReleaseIndex(2008)].Add(product.c_str());

        CRemovalPlan plan;
        PlanRemoval(record, folder.c_str(), plan);
        FailureList leftovers;
        RemoveFromAcad(plan, folder.c_str(), leftovers);
        const std::string why = std::string(c.driver) + (c.backup ? " over a backup " : " ") + c.otherLoader;
        EXPECT_TRUE(leftovers.IsEmpty()) << why;
        EXPECT_EQ(c.after, Disk::ReadFile(acad + "\\Drv\\pdfplot9.hdi")) << why;
        const bool restored = c.backup && std::string(c.after) == c.backup;
        EXPECT_EQ(c.backup && !restored, Disk::IsFile(acad + "\\Drv\\pdfplot9.hdi.bak")) << why << ": a read-only backup goes too";
    }
}
