// SHA-256 fingerprints through Windows' own implementation (BCrypt): what the
// setup compares with the list of its payload that the signed program carries.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "platform/WinResult.h"

class Reporter;

constexpr int kSha256Bytes = 32;

struct Sha256Digest {
    unsigned char bytes[kSha256Bytes] = {};
    // 64 lowercase hexadecimal digits, as sha256sum and CMake write it.
    CString Hex() const;
};

// The SHA-256 algorithm, opened once for any number of fingerprints and closed
// when the object goes.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // The fingerprint of n bytes.
    WinResult OfBytes(const void* p, DWORD n, Sha256Digest& digest);
    // The fingerprint of what the file holds, read through the handle from its
    // start, and the number of bytes read. pProgress (may be NULL) is stepped
    // after each block, so that a window stays responsive over a large file.
    // ERROR_CANCELLED as soon as *pStop (may be NULL) is not 0.
    WinResult OfFile(HANDLE hFile, Sha256Digest& digest, unsigned long long& nSize, Reporter* pProgress,
                     const volatile LONG* pStop = nullptr);

private:
    void* m_hAlgorithm = nullptr;  // BCRYPT_ALG_HANDLE
    WinResult m_opened;
};

// One file's fingerprint as FingerprintFiles found it: its result, and on
// success the digest and the number of bytes read.
struct FileFingerprint {
    WinResult result;
    Sha256Digest digest;
    unsigned long long nSize = 0;
};

// The fingerprints of n files held open, each read through its handle from its
// start. The files are shared among as many threads as the machine has
// processors (the calling thread one of them, at most kMaxHashThreads): one
// file's SHA-256 is one sequence of blocks, so a payload of several files is
// read on every processor at once. Only the calling thread steps pProgress (may
// be NULL), also while it waits for the others. The other threads run at the
// calling thread's priority. A file without a handle (NULL
// or INVALID_HANDLE_VALUE) is passed over: its fingerprint stays as it was.
constexpr int kMaxHashThreads = 8;
// Once *pStop (may be NULL) is not 0, what is left ends as ERROR_CANCELLED.
void FingerprintFiles(const HANDLE* files, int n, FileFingerprint* fingerprints, Reporter* pProgress,
                      const volatile LONG* pStop = nullptr);
