#include "acad/AcadRegistry.h"

#include <gtest/gtest.h>

#include "tests/acad/Ticks.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/PayloadFixture.h"

namespace {

class SupportFiles : public ::testing::Test {
protected:
    SupportFiles()
    {
        payload.MakeData({"Trabex_EN.shx", "Trabex_HZ.shx", "Trabex.prt5"});
    }

    // An AutoCAD folder with Fonts and Drv (and AutoCAD's own pdfplot9.hdi).
    std::string AddAcad(int year, const std::string& name, bool withFonts = true)
    {
        const std::string folder = payload.root / name;
        Disk::MakeFolder(folder);
        if (withFonts)
            Disk::MakeFolder(folder + "\\Fonts");
        Disk::MakeFolder(folder + "\\Drv");
        Disk::WriteFile(folder + "\\Drv\\pdfplot9.hdi", "autodesk driver");
        record.m_arrAcadFolders[ReleaseIndex(year)].Add(folder.c_str());
        record.m_arrProductKeys[ReleaseIndex(year)].Add("SOFTWARE\\x\\");
        return folder;
    }

    PayloadFixture payload;
    CAcadRegistry record;
};

} // namespace

TEST_F(SupportFiles, FontsIntoEveryInstallationOfTickedReleases)
{
    const std::string a = AddAcad(2016, "A2016");
    const std::string b = AddAcad(2016, "B2016");
    const std::string c = AddAcad(2015, "C2015");
    Disk::WriteFile(a + "\\Fonts\\Trabex_EN.shx", "older font");
    InstallSupportTicked(record, {2016});
    for (const std::string& f : {a, b}) {
        EXPECT_EQ("Trabex_EN.shx", Disk::ReadFile(f + "\\Fonts\\Trabex_EN.shx"));
        EXPECT_EQ("Trabex_HZ.shx", Disk::ReadFile(f + "\\Fonts\\Trabex_HZ.shx"));
        EXPECT_EQ("autodesk driver", Disk::ReadFile(f + "\\Drv\\pdfplot9.hdi"));
        EXPECT_FALSE(Disk::IsFile(f + "\\Drv\\pdfplot9.hdi.bak"));
    }
    EXPECT_TRUE(Disk::List(c + "\\Fonts").empty());
}

TEST_F(SupportFiles, MissingFontsFolderIsNotCreatedAndTheRestGoesOn)
{
    const std::string a = AddAcad(2010, "A2010", false);
    const std::string b = AddAcad(2010, "B2010");
    MessageBoxAnswerer boxes;
    InstallSupportTicked(record, {2010});
    EXPECT_FALSE(Disk::IsFolder(a + "\\Fonts"));
    EXPECT_EQ("Trabex_HZ.shx", Disk::ReadFile(b + "\\Fonts\\Trabex_HZ.shx"));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(SupportFiles, PlotDriverOnlyFor2008WithTheOriginalKeptOnce)
{
    const std::string a2007 = AddAcad(2007, "A2007");
    const std::string a2008 = AddAcad(2008, "A2008");
    const std::string a2009 = AddAcad(2009, "A2009");
    InstallSupportTicked(record, {2007, 2009});
    EXPECT_EQ("autodesk driver", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi"));

    InstallSupportTicked(record, {2007, 2008, 2009});
    EXPECT_EQ("Trabex.prt5", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi"));
    EXPECT_EQ("autodesk driver", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi.bak"));
    EXPECT_FALSE(Disk::IsFile(a2008 + "\\Drv\\Trabex.prt5"));
    EXPECT_EQ("autodesk driver", Disk::ReadFile(a2007 + "\\Drv\\pdfplot9.hdi"));
    EXPECT_EQ("autodesk driver", Disk::ReadFile(a2009 + "\\Drv\\pdfplot9.hdi"));

    // A second install never overwrites the backup with our own file.
    InstallSupportTicked(record, {2008});
    EXPECT_EQ("autodesk driver", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi.bak"));
    EXPECT_EQ("Trabex.prt5", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi"));
}

// AutoCAD 2008 without a pdfplot9.hdi of its own still gets the add-on's driver,
// logged; there is nothing to back up, then or at a re-install.
TEST_F(SupportFiles, PlotDriverPlacedWhereAutoCadHasNone)
{
    const std::string a2008 = AddAcad(2008, "A2008");
    DeleteFileA((a2008 + "\\Drv\\pdfplot9.hdi").c_str());
    NoteRecorder log;
    EXPECT_TRUE(InstallSupportTicked(record, {2008}, &log).IsEmpty());
    EXPECT_EQ("Trabex.prt5", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi"));
    EXPECT_FALSE(Disk::IsFile(a2008 + "\\Drv\\pdfplot9.hdi.bak"));
    const std::string said = "原来没有 AutoCAD 自带的文件";
    bool logged = false;
    for (const std::string& line : log.notes)
        logged = logged || line.find(NoteRecorder::Utf8(CStringW::FromText(said.c_str()))) != std::string::npos;
    EXPECT_TRUE(logged);

    InstallSupportTicked(record, {2008});
    EXPECT_FALSE(Disk::IsFile(a2008 + "\\Drv\\pdfplot9.hdi.bak")) << "the add-on's own driver is no original";
    EXPECT_EQ("Trabex.prt5", Disk::ReadFile(a2008 + "\\Drv\\pdfplot9.hdi"));
}

TEST_F(SupportFiles, AcadFolderTooLongForItsFontsPathIsSkipped)
{
    const std::string longFolder = payload.root / std::string(255 - payload.root.Path().size(), 'y');
    record.m_arrAcadFolders[ReleaseIndex(2012)].Add(longFolder.c_str());
    const std::string ok = AddAcad(2012, "OK2012");
    InstallSupportTicked(record, {2012});
    EXPECT_EQ("Trabex_EN.shx", Disk::ReadFile(ok + "\\Fonts\\Trabex_EN.shx"));
}

TEST_F(SupportFiles, WithoutThePayloadNothingIsCopiedAndNothingCountsAsWritten)
{
    const std::string a = AddAcad(2008, "A2008");
    Disk::RemoveTree(payload.data());
    const FailureList failures = InstallSupportTicked(record, {2008});
    EXPECT_TRUE(Disk::List(a + "\\Fonts").empty());
    EXPECT_EQ((std::vector<std::string>{"pdfplot9.hdi"}), Disk::List(a + "\\Drv"));
    ASSERT_EQ(3, failures.GetSize());
    EXPECT_EQ("AutoCAD 2008: " + a + "\\Fonts\\Trabex_EN.shx", What(failures[0]));
    EXPECT_EQ("AutoCAD 2008: " + a + "\\Drv\\pdfplot9.hdi", What(failures[2]));
}
