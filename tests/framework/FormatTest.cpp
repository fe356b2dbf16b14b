#include "framework/Format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(FormatPath, FitsAndZeroFills)
{
    PathBuffer buf;
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_TRUE(FormatPath(buf, "%s\\Fonts", "C:\\ACAD"));
    EXPECT_STREQ("C:\\ACAD\\Fonts", buf);
    for (size_t i = std::strlen(buf); i < sizeof buf; ++i)
        ASSERT_EQ('\0', buf[i]) << "byte " << i;
}

TEST(FormatPath, TextOfExactly259BytesFits260DoesNot)
{
    // Guard bytes after the buffer catch any write past its end.
    struct {
        PathBuffer buf;
        char guard[16];
    } s;
    std::memset(s.guard, 'G', sizeof s.guard);
    const std::string fits(259, 'a');
    EXPECT_TRUE(FormatPath(s.buf, "%s", fits.c_str()));
    EXPECT_EQ(259u, std::strlen(s.buf));
    const std::string tooLong(260, 'b');
    EXPECT_FALSE(FormatPath(s.buf, "%s", tooLong.c_str()));
    EXPECT_EQ(259u, std::strlen(s.buf));
    const std::string wayTooLong(5000, 'c');
    EXPECT_FALSE(FormatPath(s.buf, "%s\\%s", wayTooLong.c_str(), "x"));
    for (char g : s.guard)
        ASSERT_EQ('G', g);
}

TEST(FormatLong, BoundedAt13000)
{
    static LongBuffer buf;
    const std::string fits(12999, 'a');
    EXPECT_TRUE(FormatLong(buf, "%s", fits.c_str()));
    EXPECT_EQ(12999u, std::strlen(buf));
    EXPECT_FALSE(FormatLong(buf, "%s;%s", fits.c_str(), "D:\\TRABEX"));
    EXPECT_EQ(12999u, std::strlen(buf));
}
