#include "acad/AcadRegistry.h"

#include <gtest/gtest.h>

TEST(InstallationRecord, StartsEmptyLookingForAcadLocation)
{
    CAcadRegistry record;
    EXPECT_TRUE(record.m_strInstallFolder.IsEmpty());
    EXPECT_STREQ("AcadLocation", record.m_strValueName.GetString());
    for (int k = 0; k < kReleaseCount; ++k) {
        EXPECT_EQ(0, record.m_arrAcadFolders[k].GetSize());
        EXPECT_EQ(0, record.m_arrProductKeys[k].GetSize());
    }
    EXPECT_EQ(21, kReleaseCount);
    EXPECT_EQ(5, ReleaseIndex(2012));
}

TEST(InstallationRecord, SetInstallFolderRemovesOneTrailingBackslash)
{
    CAcadRegistry record;
    record.SetInstallFolder("C:\\Trabex\\");
    EXPECT_STREQ("C:\\Trabex", record.m_strInstallFolder.GetString());
    record.SetInstallFolder("C:\\Trabex");
    EXPECT_STREQ("C:\\Trabex", record.m_strInstallFolder.GetString());
    record.SetInstallFolder("D:\\");
    EXPECT_STREQ("D:", record.m_strInstallFolder.GetString());
    record.SetInstallFolder("D:\\A\\\\");
    EXPECT_STREQ("D:\\A\\", record.m_strInstallFolder.GetString());
    record.SetInstallFolder("");
    EXPECT_STREQ("", record.m_strInstallFolder.GetString());
    // A final GBK character whose second byte is 0x5C stays whole.
    record.SetInstallFolder("D:\\\x81\x5C");
    EXPECT_STREQ("D:\\\x81\x5C", record.m_strInstallFolder.GetString());
}

TEST(StripTrailingBackslash, OneBackslashAtMostAndNeverTheOnlyCharacter)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\ACAD\\", "C:\\ACAD"}, {"C:\\ACAD", "C:\\ACAD"}, {"D:\\", "D:"},
        {"D:\\X\\\\", "D:\\X\\"},   {"\\", "\\"},             {"", ""},
        {"C:\\\x81\x5C", "C:\\\x81\x5C"},
    };
    for (const Case& c : cases) {
        CString s(c.in);
        StripTrailingBackslash(s);
        EXPECT_STREQ(c.out, s.GetString()) << "input " << c.in;
    }
}
