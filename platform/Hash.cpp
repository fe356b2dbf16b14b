#include "platform/Hash.h"

#include <bcrypt.h>

#include <cstdlib>

#include "framework/Reporter.h"
#include "platform/SystemLibrary.h"
#include "platform/WorkerThread.h"

namespace {

// Blocks of this size are read and hashed: small enough to stay in the
// processor's cache from the read to the hash (1 MB blocks hashed 15% slower),
// large enough that the calls cost little beside the bytes.
constexpr DWORD kBlockBytes = 64 * 1024;

// BCrypt's functions, from bcrypt.dll in System32 (not one of the KnownDLLs);
// all of them or none.
struct BcryptCalls {
    decltype(&BCryptOpenAlgorithmProvider) open = nullptr;
    decltype(&BCryptCloseAlgorithmProvider) close = nullptr;
    decltype(&BCryptCreateHash) createHash = nullptr;
    decltype(&BCryptHashData) hashData = nullptr;
    decltype(&BCryptFinishHash) finishHash = nullptr;
    decltype(&BCryptDestroyHash) destroyHash = nullptr;
};

BcryptCalls ResolveBcrypt()
{
    const wchar_t kDll[] = L"bcrypt.dll";
    BcryptCalls calls;
    calls.open = SystemFunctionAs<decltype(calls.open)>(kDll, "BCryptOpenAlgorithmProvider");
    calls.close = SystemFunctionAs<decltype(calls.close)>(kDll, "BCryptCloseAlgorithmProvider");
    calls.createHash = SystemFunctionAs<decltype(calls.createHash)>(kDll, "BCryptCreateHash");
    calls.hashData = SystemFunctionAs<decltype(calls.hashData)>(kDll, "BCryptHashData");
    calls.finishHash = SystemFunctionAs<decltype(calls.finishHash)>(kDll, "BCryptFinishHash");
    calls.destroyHash = SystemFunctionAs<decltype(calls.destroyHash)>(kDll, "BCryptDestroyHash");
    if (!calls.close || !calls.createHash || !calls.hashData || !calls.finishHash || !calls.destroyHash)
        calls.open = nullptr;  // a Sha256 then reports the DLL missing
    return calls;
}

// Resolved once, on the first call of any thread.
const BcryptCalls& Bcrypt()
{
    static const BcryptCalls calls = ResolveBcrypt();
    return calls;
}

// One hash computation, destroyed with its object.
class ScopedHash {
public:
    ~ScopedHash()
    {
        if (m_h)
            Bcrypt().destroyHash(m_h);
    }
    BCRYPT_HASH_HANDLE* Put() { return &m_h; }
    BCRYPT_HASH_HANDLE Get() const { return m_h; }

private:
    BCRYPT_HASH_HANDLE m_h = nullptr;
};

} // namespace

CString Sha256Digest::Hex() const
{
    static const char kDigits[] = "0123456789abcdef";
    char text[2 * kSha256Bytes];
    for (int i = 0; i < kSha256Bytes; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return CString(text, 2 * kSha256Bytes);
}

Sha256::Sha256()
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    m_opened = Bcrypt().open ? WinResult::FromNtStatus(Bcrypt().open(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))
                             : WinResult(ERROR_MOD_NOT_FOUND);
    m_hAlgorithm = m_opened ? algorithm : nullptr;
}

Sha256::~Sha256()
{
    if (m_hAlgorithm)
        Bcrypt().close(m_hAlgorithm, 0);
}

WinResult Sha256::OfBytes(const void* p, DWORD n, Sha256Digest& digest)
{
    if (!m_opened)
        return m_opened;
    ScopedHash hash;
    // The hash object from the provider's own memory (Windows 7 and later).
    WinResult result = WinResult::FromNtStatus(Bcrypt().createHash(m_hAlgorithm, hash.Put(), nullptr, 0, nullptr, 0, 0));
    if (result && n > 0)
        result = WinResult::FromNtStatus(
            Bcrypt().hashData(hash.Get(), static_cast<PUCHAR>(const_cast<void*>(p)), n, 0));
    if (result)
        result = WinResult::FromNtStatus(Bcrypt().finishHash(hash.Get(), digest.bytes, kSha256Bytes, 0));
    return result;
}

WinResult Sha256::OfFile(HANDLE hFile, Sha256Digest& digest, unsigned long long& nSize, Reporter* pProgress,
                         const volatile LONG* pStop)
{
    nSize = 0;
    if (!m_opened)
        return m_opened;
    ScopedHash hash;
    WinResult result = WinResult::FromNtStatus(Bcrypt().createHash(m_hAlgorithm, hash.Put(), nullptr, 0, nullptr, 0, 0));
    LARGE_INTEGER start = {};
    if (result)
        result = WinResult::FromLastError(SetFilePointerEx(hFile, start, nullptr, FILE_BEGIN) != FALSE);
    unsigned char* block = result ? static_cast<unsigned char*>(std::malloc(kBlockBytes)) : nullptr;
    if (result && !block)
        result = WinResult(ERROR_NOT_ENOUGH_MEMORY);
    while (result) {
        if (pStop && *pStop) {
            result = WinResult(ERROR_CANCELLED);
            break;
        }
        DWORD read = 0;
        result = WinResult::FromLastError(ReadFile(hFile, block, kBlockBytes, &read, nullptr) != FALSE);
        if (!result || read == 0)
            break;
        nSize += read;
        result = WinResult::FromNtStatus(Bcrypt().hashData(hash.Get(), block, read, 0));
        if (pProgress)
            pProgress->Step();
    }
    std::free(block);
    if (result)
        result = WinResult::FromNtStatus(Bcrypt().finishHash(hash.Get(), digest.bytes, kSha256Bytes, 0));
    return result;
}

namespace {

// The files of one FingerprintFiles call and the index of the next one no
// thread has taken yet.
struct FingerprintWork {
    const HANDLE* files;
    FileFingerprint* fingerprints;
    LONG n;
    volatile LONG next;
    const volatile LONG* pStop;
};

void TakeFiles(FingerprintWork& work, Reporter* pProgress)
{
    Sha256 sha256;
    for (LONG i; (i = InterlockedIncrement(&work.next) - 1) < work.n;) {
        FileFingerprint& out = work.fingerprints[i];
        if (!work.files[i] || work.files[i] == INVALID_HANDLE_VALUE)
            continue;
        out.result = sha256.OfFile(work.files[i], out.digest, out.nSize, pProgress, work.pStop);
    }
}

DWORD WINAPI HashThread(void* pWork)
{
    TakeFiles(*static_cast<FingerprintWork*>(pWork), nullptr);
    return 0;
}

int ProcessorCount()
{
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

} // namespace

void FingerprintFiles(const HANDLE* files, int n, FileFingerprint* fingerprints, Reporter* pProgress,
                      const volatile LONG* pStop)
{
    FingerprintWork work = {files, fingerprints, n, 0, pStop};
    int nHelpers = ProcessorCount();
    nHelpers = (nHelpers < n ? nHelpers : n) - 1;
    nHelpers = nHelpers < kMaxHashThreads - 1 ? nHelpers : kMaxHashThreads - 1;
    // A thread that cannot start leaves its share to the others; each runs at
    // the caller's priority (lower when the check runs behind a dialog).
    const int priority = GetThreadPriority(GetCurrentThread());
    WorkerThread helpers[kMaxHashThreads - 1];
    for (int i = 0; i < nHelpers; ++i)
        helpers[i].Start(HashThread, &work, priority == THREAD_PRIORITY_ERROR_RETURN ? THREAD_PRIORITY_NORMAL : priority);
    TakeFiles(work, pProgress);
    for (int i = 0; i < nHelpers; ++i)
        helpers[i].Wait(pProgress);
}
