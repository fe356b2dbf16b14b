#include "deploy/PayloadLocation.h"

#include "deploy/PayloadCopier.h"

#include <gtest/gtest.h>

#include "res/Texts.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/PayloadFixture.h"

TEST(LocatePayload, DataFolderBeatsTheModuleBesideTheProgram)
{
    PayloadFixture f;
    Disk::MakeFolder(f.data());
    Disk::WriteFile(f.dist() + "\\Trabex2010.arx", "module");
    CStringW payload;
    ASSERT_TRUE(LocatePayload(payload));
    EXPECT_TRUE(CStringW::FromText(f.data().c_str()) == payload);
}

TEST(LocatePayload, ModuleAloneMakesTheProgramFolderThePayload)
{
    PayloadFixture f;
    Disk::WriteFile(f.dist() + "\\Trabex2010.arx", "module");
    CStringW payload;
    ASSERT_TRUE(LocatePayload(payload));
    EXPECT_TRUE(CStringW::FromText(f.dist().c_str()) == payload);
}

TEST(LocatePayload, NeitherIsNoPayloadAndTheCopySaysSoEveryTime)
{
    PayloadFixture f;
    // A file named Data and a folder named like the module do not count.
    Disk::WriteFile(f.dist() + "\\Data", "not a folder");
    Disk::MakeFolder(f.dist() + "\\Trabex2010.arx");
    MessageBoxAnswerer boxes;
    CStringW payload;
    EXPECT_FALSE(LocatePayload(payload));
    WindowReporter reporter(nullptr, nullptr);
    CPayloadCopier copier(f.install().c_str(), payload, reporter);
    EXPECT_FALSE(copier.CopyPayload());
    EXPECT_FALSE(copier.CopyPayload());
    EXPECT_FALSE(Disk::IsFolder(f.install()));
    const std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(2u, seen.size());
    for (const SeenBox& box : seen) {
        EXPECT_EQ("Q-软件安装", box.caption);
        EXPECT_EQ("未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !",
                  box.text);
    }
}
