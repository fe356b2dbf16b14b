#include "deploy/PayloadList.h"

#include "platform/Files.h"
#include "platform/Hash.h"
#include "platform/HeldFiles.h"
#include "platform/ProgramResource.h"
#include "res/resource.h"

namespace {

CString g_listForTesting;

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// A path the list may name: below the payload folder, never above or beside it.
bool IsPathBelow(const CStringW& path)
{
    if (path.IsEmpty())
        return false;
    int start = 0;
    for (int i = 0; i <= path.GetLength(); ++i) {
        const wchar_t c = i < path.GetLength() ? path.GetString()[i] : L'\\';
        if (c == L'/' || c == L':' || c < L' ')
            return false;
        if (c != L'\\')
            continue;
        const CStringW part = path.Mid(start, i - start);
        if (part.IsEmpty() || part == L"." || part == L"..")
            return false;
        start = i + 1;
    }
    return true;
}

// One line: "<64 lowercase hex digits> <decimal size> <path>".
bool ParseLine(const CString& line, ListedFile& file)
{
    const int kDigits = 2 * kSha256Bytes;
    if (line.GetLength() < kDigits + 4 || line[kDigits] != ' ')
        return false;
    for (int i = 0; i < kDigits; ++i) {
        if (!IsHexDigit(line[i]))
            return false;
    }
    int i = kDigits + 1;
    unsigned long long size = 0;
    const int firstDigit = i;
    for (; i < line.GetLength() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (i - firstDigit >= 19)
            return false;  // no file of the payload is that large
        size = size * 10 + static_cast<unsigned>(line[i] - '0');
    }
    if (i == firstDigit || i >= line.GetLength() - 1 || line[i] != ' ')
        return false;
    file.strSha256 = line.Left(kDigits);
    file.nSize = size;
    file.strRelative = CStringW::FromUtf8(line.GetString() + i + 1, line.GetLength() - i - 1);
    return IsPathBelow(file.strRelative);
}

bool ParsePayloadList(const CString& text, ListedFiles& files)
{
    files.RemoveAll();
    // Byte by byte: the text is UTF-8, not the program's code page.
    const char* p = text.GetString();
    const int n = text.GetLength();
    for (int start = 0; start < n;) {
        int end = start;
        while (end < n && p[end] != '\n')
            ++end;
        const int length = end > start && p[end - 1] == '\r' ? end - start - 1 : end - start;
        ListedFile file;
        if (!ParseLine(CString(p + start, length), file))
            return false;
        files.Add(file);
        start = end + 1;
    }
    return !files.IsEmpty();
}

} // namespace

void SetPayloadListForTesting(const CString& strText)
{
    g_listForTesting = strText;
}

PayloadListState ReadPayloadList(ListedFiles& files)
{
    files.RemoveAll();
    CString text = g_listForTesting;
    if (text.IsEmpty() && !ReadProgramData(IDR_PAYLOAD_LIST, text))
        return kNoPayloadList;
    return ParsePayloadList(text, files) ? kPayloadListRead : kPayloadListDamaged;
}

bool CheckPayload(const CStringW& strPayload, const ListedFiles& files, HeldFiles& held,
                  PayloadDifference& difference, Reporter* pProgress, const volatile LONG* pStop)
{
    held.Release();
    // Every file is opened first and held from here until the install is done:
    // what is copied later is read through these handles, and is what was checked.
    const int n = files.GetSize();
    CArray<HANDLE> handles;
    CArray<FileFingerprint> fingerprints;
    for (int i = 0; i < n; ++i) {
        ScopedHandle file = Files::OpenAgainstWriters(strPayload + L"\\" + files[i].strRelative);
        FileFingerprint unread;
        unread.result = WinResult::FromLastError(file.IsValid());
        fingerprints.Add(unread);
        handles.Add(file.Get());
        if (file.IsValid())
            held.Keep(files[i].strRelative, file);
    }
    if (n > 0)
        FingerprintFiles(&handles[0], n, &fingerprints[0], pProgress, pStop);
    for (int i = 0; i < n; ++i) {
        difference = PayloadDifference();
        difference.listed = files[i];
        const FileFingerprint& found = fingerprints[i];
        difference.nFoundSize = found.nSize;
        if (found.result)
            difference.strFoundSha256 = found.digest.Hex();
        if (!found.result || found.nSize != files[i].nSize || difference.strFoundSha256 != files[i].strSha256) {
            difference.dwError = found.result.Code();
            held.Release();
            return false;
        }
    }
    return true;
}

DWORD WINAPI EarlyPayloadCheck::Run(void* pCheck)
{
    EarlyPayloadCheck& check = *static_cast<EarlyPayloadCheck*>(pCheck);
    check.m_bSame =
        CheckPayload(check.m_strPayload, check.m_files, check.m_held, check.m_difference, nullptr, &check.m_stop);
    return 0;
}

EarlyPayloadCheck::~EarlyPayloadCheck()
{
    InterlockedExchange(&m_stop, 1);
    m_thread.Wait(nullptr);
}

void EarlyPayloadCheck::Start(const CStringW& strPayload, const ListedFiles& files)
{
    if (m_thread.IsStarted())
        return;
    m_strPayload = strPayload;
    m_files = files;
    // Below the window's priority: the dialog paints and answers first.
    if (!m_thread.Start(Run, this, THREAD_PRIORITY_BELOW_NORMAL))
        m_strPayload = CStringW();
}

bool EarlyPayloadCheck::IsStartedFor(const CStringW& strPayload) const
{
    return m_thread.IsStarted() && !strPayload.IsEmpty() && m_strPayload == strPayload;
}

bool EarlyPayloadCheck::Take(HeldFiles& held, PayloadDifference& difference, Reporter* pProgress)
{
    m_thread.Wait(pProgress);
    held.TakeAll(m_held);
    difference = m_difference;
    m_strPayload = CStringW();
    return m_bSame;
}
