// Installing twice leaves the registry exactly as installing once.
#include "acad/AcadRegistry.h"

#include <gtest/gtest.h>

#include "tests/acad/Ticks.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/RegistryView.h"

TEST(Reinstall, SecondRunChangesNothingInTheRegistry)
{
    RegistrySandbox sandbox;
    const std::string acad = "SOFTWARE\\Autodesk\\AutoCAD";
    for (const char* product : {"\\R17.1\\ACAD-6001:804", "\\R20.1\\ACAD-F001:804", "\\R20.1\\ACAD-F002:804"}) {
        Reg::SetString(Reg::kMachine, acad + product, "AcadLocation", "C:\\ACAD\\");
        Reg::SetString(Reg::kMachine, acad + product, "ProductName",
                       std::string(product).find("R17") != std::string::npos ? "AutoCAD 2008" : "AutoCAD 2016");
        Reg::SetString(Reg::kUser, acad + product + "\\Profiles\\<<Default>>\\Variables",
                       "TRUSTEDPATHS", "c:\\x;d:\\y\\...");
    }
    auto install = [] {
        CAcadRegistry record;
        record.FindAcadReleases();
        record.SetInstallFolder("C:\\Trabex\\Q-Ostrevo");
        RegisterTicked(record, {2008, 2016});
    };
    install();
    const std::string machineOnce = Reg::Export(Reg::kMachine, "SOFTWARE");
    const std::string userOnce = Reg::Export(Reg::kUser, "SOFTWARE");
    EXPECT_NE(std::string::npos, machineOnce.find("Trabex2016"));
    install();
    EXPECT_EQ(machineOnce, Reg::Export(Reg::kMachine, "SOFTWARE"));
    EXPECT_EQ(userOnce, Reg::Export(Reg::kUser, "SOFTWARE"));
}
