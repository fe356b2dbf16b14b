#include "platform/Hash.h"

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/support/TempFolder.h"

namespace {
// FIPS 180-2, appendix B.1: SHA-256("abc").
const char kAbcSha256[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
} // namespace

TEST(Sha256, KnownVectorOfBytesAndOfAFile)
{
    Sha256 sha256;
    Sha256Digest digest;
    ASSERT_TRUE(sha256.OfBytes("abc", 3, digest));
    EXPECT_EQ(kAbcSha256, digest.Hex().Std());

    // A file is read from its start, wherever its handle stood.
    TempFolder dir;
    Disk::WriteFile(dir / "abc.txt", "abc");
    ScopedHandle file = Files::OpenAgainstWriters(CStringW::FromText((dir / "abc.txt").c_str()));
    ASSERT_TRUE(file.IsValid());
    unsigned long long size = 0;
    Sha256Digest first, again;
    ASSERT_TRUE(sha256.OfFile(file.Get(), first, size, nullptr));
    ASSERT_TRUE(sha256.OfFile(file.Get(), again, size, nullptr));
    EXPECT_EQ(kAbcSha256, again.Hex().Std());
    EXPECT_EQ(3u, size);
}
