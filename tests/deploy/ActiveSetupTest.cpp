// The Active Setup Version only ever rises: Windows runs the step again for a
// user only when the component's Version is above the one recorded for them.
#include "deploy/ActiveSetup.h"

#include <gtest/gtest.h>

TEST(ActiveSetupVersion, RisesWithEveryWriteAndNeverFallsBelowTheStoredOne)
{
    auto next = [](const char* stored, int setupVersion) { return NextActiveSetupVersion(stored, setupVersion).Std(); };
    EXPECT_EQ("2026,3,31,0", next(nullptr, 20260331)) << "the first install";
    EXPECT_EQ("2026,3,31,0", next("2026,3", 20260331)) << "not a Version: none";
    EXPECT_EQ("2026,3,31,8", next("2026,3,31,7", 20260331)) << "a re-install or a removal";
    EXPECT_EQ("2026,4,1,0", next("2026,3,31,7", 20260401)) << "a newer setup";
    EXPECT_EQ("2026,4,1,3", next("2026,4,1,2", 20260331)) << "an older setup counts on from the newer one";
    EXPECT_EQ("2026,4,2,0", next("2026,4,1,65535", 20260331)) << "each field is 16 bits: carried";
}
