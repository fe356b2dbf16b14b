#include "platform/FolderSecurity.h"

#include <gtest/gtest.h>

// Who could swap the add-on by renaming, deleting or re-permitting a folder on
// the way to it, read from the folder's (and its parent's) descriptor.
TEST(FolderSecurity, OthersCanReplaceAFolderTheyOwnMayDeleteOrRePermit)
{
    const wchar_t* const user = L"S-1-5-21-1-2-3-1001";    // another account of this machine
    const wchar_t* const setupAccount = L"S-1-5-21-1-2-3-500";
    const wchar_t* const adminsOnly = L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    const wchar_t* const driveRoot = L"O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x4;;;AU)(A;OICIIO;0x1301bf;;;AU)(A;OICI;0x1200a9;;;BU)";
    struct Case {
        const wchar_t* folder;
        const wchar_t* parent;
        bool replaceable;
        const char* why;
    } cases[] = {
        {adminsOnly, driveRoot, false, "made by the setup below a drive root"},
        {L"O:S-1-5-21-1-2-3-500D:PAI(A;OICI;FA;;;S-1-5-21-1-2-3-500)", driveRoot, false, "the setup's own account"},
        {L"O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;BA)", driveRoot, true, "owned by another user"},
        // A folder made by a user below C:\ inherits "Authenticated Users: Modify" (DELETE among it).
        {L"O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;0x1301bf;;;AU)", driveRoot, true, "users may modify"},
        {L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;AU)", driveRoot, false, "users may read"},
        {L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;0x40000;;;S-1-5-21-1-2-3-1001)", driveRoot, true, "a user may rewrite the list"},
        {L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICIIO;FA;;;AU)", driveRoot, false, "only for what is made inside"},
        {L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;CO)", driveRoot, false, "CREATOR OWNER"},
        {adminsOnly, L"O:BAD:(A;;0x40;;;AU)", true, "the parent lets users delete what it holds"},
        {adminsOnly, L"O:BAD:(A;;GA;;;WD)", true, "the parent gives everyone everything"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.replaceable, FolderSecurity::OthersCanReplace(c.folder, c.parent, setupAccount)) << c.why;
    EXPECT_FALSE(FolderSecurity::OthersCanReplace(adminsOnly, nullptr, user));
}
