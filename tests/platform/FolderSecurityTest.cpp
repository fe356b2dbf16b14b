#include "platform/FolderSecurity.h"

#include <gtest/gtest.h>

// Who could swap the add-on by renaming, deleting or re-permitting a folder on
// the way to it, read from the folder's (and its parent's) descriptor.
TEST(FolderSecurity, OthersCanReplaceAFolderTheyOwnMayDeleteOrRePermit)
{
    const char* const user = "S-1-5-21-1-2-3-1001";    // another account of this machine
    const char* const setupAccount = "S-1-5-21-1-2-3-500";
    const char* const adminsOnly = "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    const char* const driveRoot = "O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x4;;;AU)(A;OICIIO;0x1301bf;;;AU)(A;OICI;0x1200a9;;;BU)";
    struct Case {
        const char* folder;
        const char* parent;
        bool replaceable;
        const char* why;
    } cases[] = {
        {adminsOnly, driveRoot, false, "made by the setup below a drive root"},
        {"O:S-1-5-21-1-2-3-500D:PAI(A;OICI;FA;;;S-1-5-21-1-2-3-500)", driveRoot, false, "the setup's own account"},
        {"O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;BA)", driveRoot, true, "owned by another user"},
        // A folder made by a user below C:\ inherits "Authenticated Users: Modify" (DELETE among it).
        {"O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;0x1301bf;;;AU)", driveRoot, true, "users may modify"},
        {"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;AU)", driveRoot, false, "users may read"},
        {"O:BAD:PAI(A;OICI;FA;;;BA)(A;;0x40000;;;S-1-5-21-1-2-3-1001)", driveRoot, true, "a user may rewrite the list"},
        {"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICIIO;FA;;;AU)", driveRoot, false, "only for what is made inside"},
        {"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;CO)", driveRoot, false, "CREATOR OWNER"},
        {adminsOnly, "O:BAD:(A;;0x40;;;AU)", true, "the parent lets users delete what it holds"},
        {adminsOnly, "O:BAD:(A;;GA;;;WD)", true, "the parent gives everyone everything"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.replaceable, FolderSecurity::OthersCanReplace(c.folder, c.parent, setupAccount)) << c.why;
    EXPECT_FALSE(FolderSecurity::OthersCanReplace(adminsOnly, nullptr, user));
}
