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

// Files shared among threads: each fingerprint belongs to its own file, and a
// file without a handle keeps what the caller put there.
TEST(Sha256, FingerprintsOfManyFilesEachTheirOwn)
{
    TempFolder dir;
    const int kFiles = 24;
    ScopedHandle owned[kFiles];
    CArray<HANDLE> handles;
    CArray<FileFingerprint> found;
    CArray<CString> expected;
    Sha256 sha256;
    for (int i = 0; i < kFiles; ++i) {
        // Sizes from nothing to several blocks, so that threads finish out of order.
        const std::string bytes(static_cast<size_t>((i * 37) % 7) * 50000 + static_cast<size_t>(i), char('a' + i));
        const std::string name = "f" + std::to_string(i);
        Disk::WriteFile(dir / name, bytes);
        Sha256Digest digest;
        ASSERT_TRUE(sha256.OfBytes(bytes.data(), static_cast<DWORD>(bytes.size()), digest));
        expected.Add(digest.Hex());
        owned[i].Reset(Files::OpenAgainstWriters(CStringW::FromText((dir / name).c_str())).Release());
        handles.Add(i == 5 ? nullptr : owned[i].Get());
        FileFingerprint unread;
        unread.result = WinResult(ERROR_FILE_NOT_FOUND);
        found.Add(unread);
    }
    FingerprintFiles(&handles[0], kFiles, &found[0], nullptr);
    for (int i = 0; i < kFiles; ++i) {
        if (i == 5) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), found[i].result.Code());
        } else {
            ASSERT_TRUE(found[i].result) << i;
            EXPECT_EQ(expected[i].Std(), found[i].digest.Hex().Std()) << i;
            EXPECT_EQ(static_cast<unsigned long long>((i * 37) % 7) * 50000 + i, found[i].nSize) << i;
        }
    }
}
