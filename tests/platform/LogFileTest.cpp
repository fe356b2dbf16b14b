// The log is never written through a name: an elevated run writes it where a
// user may have left a second name of a file of the system's, or a link.
#include "platform/LogFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/TempFolder.h"

TEST(LogFile, NeverWritesThroughASecondNameALinkOrAnotherFile)
{
    TempFolder dir;
    Disk::WriteFile(dir / "system.ini", "a file of the system's");
    ASSERT_TRUE(CreateHardLinkA((dir / "setup.log").c_str(), (dir / "system.ini").c_str(), nullptr));
    LogFile log;
    EXPECT_EQ(static_cast<DWORD>(ERROR_TOO_MANY_LINKS), log.Open(CStringW::FromText((dir / "setup.log").c_str())).Code());
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ("a file of the system's", Disk::ReadFile(dir / "system.ini")) << "not emptied, not written";

    // Where this Wine makes a link that it then reports as one.
    const DWORD attributes = CreateSymbolicLinkA((dir / "linked.log").c_str(), (dir / "system.ini").c_str(), 0)
                                 ? GetFileAttributesA((dir / "linked.log").c_str())
                                 : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        EXPECT_EQ(static_cast<DWORD>(kErrorReparsePoint), log.Open(CStringW::FromText((dir / "linked.log").c_str())).Code());
        EXPECT_EQ("a file of the system's", Disk::ReadFile(dir / "system.ini"));
    }

    // The uninstaller's copy continues the log it was handed, and no other file
    // put under its name meanwhile.
    CStringW identity;
    {
        LogFile first;  // the uninstaller's, closed when it ends
        ASSERT_TRUE(first.Open(CStringW::FromText((dir / "uninstall.log").c_str())));
        identity = first.Identity();
        first.Write("the dialog's line");
    }
    LogFile copy;
    EXPECT_TRUE(copy.Open(CStringW::FromText((dir / "uninstall.log").c_str()), true, identity));
    LogFile other;
    Disk::WriteFile(dir / "other.log", "");
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_INVALID),
              other.Open(CStringW::FromText((dir / "other.log").c_str()), true, identity).Code());
}
