// The install sequence's work on a payload, without the dialog:
//   InstallBench DIST DEST [LIST]    InstallSequence::Check and Run from DIST\Data into
//                                    DEST\Q-Ostrevo: with LIST (the list of Data, as the
//                                    dist target writes it) every file checked first;
//                                    protection, payload and library, the file list,
//                                    registrations, support files and the Apps &
//                                    Features entry (removed again after).
//   InstallBench DIST DEST steps [LIST]
//                                    Check and Run once, the time before each kind of
//                                    log line summed (where the sequence's time goes).
//   InstallBench DIST DEST profile [LIST]
//                                    the payload copy's calls one by one, timed per
//                                    kind of call over every file (where the time goes);
//                                    with LIST first the check of every file against it.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "acad/AcadRegistry.h"
#include "deploy/ActiveSetup.h"
#include "deploy/PayloadCopier.h"
#include "deploy/PayloadList.h"
#include "deploy/PayloadLocation.h"
#include "deploy/UninstallEntry.h"
#include "framework/Reporter.h"
#include "framework/Window.h"
#include "platform/Files.h"
#include "platform/HeldFiles.h"
#include "platform/Registry.h"
#include "sequence/InstallSequence.h"
#include "sequence/LoggedReporter.h"

namespace {

double Ms(const LARGE_INTEGER& t0, const LARGE_INTEGER& t1)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
}

// Times the check of every listed file (opened, SHA-256 through BCrypt); the
// files stay held in held.
void ProfileCheck(const CStringW& payload, const CString& list, HeldFiles& held)
{
    SetPayloadListForTesting(list);
    ListedFiles files;
    if (ReadPayloadList(files) != kPayloadListRead)
        return;
    unsigned long long bytes = 0;
    for (int i = 0; i < files.GetSize(); ++i)
        bytes += files[i].nSize;
    PayloadDifference difference;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    const bool same = CheckPayload(payload, files, held, difference, nullptr);
    QueryPerformanceCounter(&t1);
    std::printf("check of %d listed files against the list (open, size, SHA-256): %.1f ms, %.0f MB/s%s\n",
                files.GetSize(), Ms(t0, t1), double(bytes) / 1048576.0 / (Ms(t0, t1) / 1000.0),
                same ? "" : " (a file DIFFERS)");
}

// Times each step of CopyPayload's work for one entry, summed over the payload.
int Profile(const char* pszDest, const CString& list)
{
    enum { kFormat, kCopy, kProgress, kListing, kCount };
    HeldFiles held;
    const char* const names[kCount] = {"formatting the two paths",
                                       list.IsEmpty() ? "PlaceFile from the path" : "PlaceFile from the held file",
                                       "progress step", "listing (FindNextFileW)"};
    double total[kCount] = {};
    CStringW payload;
    if (!LocatePayload(payload))
        return 1;
    if (!list.IsEmpty())
        ProfileCheck(payload, list, held);
    const CStringW dest = CStringW::FromText(pszDest);
    Files::CreateFolder(dest);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    // Shown, as the dialog's bar is: a hidden bar never paints.
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 16, nullptr, nullptr,
                               nullptr, nullptr);
    CWnd progress;
    progress.Attach(bar);
    WindowReporter reporter(nullptr, &progress);
    reporter.BeginProgress(CountCopySteps(payload));
    FileFinder finder;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    bool more = finder.First(payload + L"\\*.*");
    QueryPerformanceCounter(&t1);
    total[kListing] += Ms(t0, t1);
    int files = 0;
    while (more) {
        auto step = [&](int kind, auto work) {
            QueryPerformanceCounter(&t0);
            work();
            QueryPerformanceCounter(&t1);
            total[kind] += Ms(t0, t1);
        };
        step(kProgress, [&] { reporter.Step(); });
        if (!finder.IsDots() && !finder.IsFolder()) {
            CStringW source, target;
            step(kFormat, [&] {
                source = payload + L"\\" + finder.NameW();
                target = dest + L"\\" + finder.NameW();
            });
            step(kCopy, [&] {
                if (list.IsEmpty())
                    Files::PlaceFile(source, target);
                else
                    Files::PlaceFile(held.Find(finder.NameW()), target);
            });
            ++files;
        }
        step(kListing, [&] { more = finder.Next(); });
    }
    progress.Detach();
    DestroyWindow(bar);
    double sum = 0;
    for (double t : total)
        sum += t;
    std::printf("payload copy of %d files, per kind of call (ms over all files, share):\n", files);
    for (int k = 0; k < kCount; ++k)
        std::printf("  %-36s %8.1f  %5.1f%%\n", names[k], total[k], sum > 0 ? 100.0 * total[k] / sum : 0.0);
    return 0;
}

// Where the time of Check and Run goes, step by step: the time before each line
// the sequence writes to its log is the work that line reports, summed per kind
// of line (its text up to the first colon).
class StepTimer : public Reporter {
public:
    StepTimer() { QueryPerformanceCounter(&m_last); }
    using Reporter::Note;
    using Reporter::Tell;
    void Note(const CStringW& strLine) override { Attribute(Kind(strLine)); }
    void Tell(const CStringW& strText, const char*) override { Attribute(L"(message) " + Kind(strText)); }
    int Ask(const CStringW& strText, const char*, UINT, int nUnattended) override
    {
        Attribute(L"(question) " + Kind(strText));
        return nUnattended;
    }
    void BeginProgress(int) override {}
    void Step() override {}
    void FinishProgress() override {}
    // Everything since the last line, under name.
    void Attribute(const CStringW& name)
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        int i = 0;
        while (i < m_kinds.GetSize() && !(m_kinds[i] == name))
            ++i;
        if (i == m_kinds.GetSize()) {
            m_kinds.Add(name);
            m_ms.Add(0);
            m_count.Add(0);
        }
        m_ms[i] += Ms(m_last, now);
        ++m_count[i];
        m_last = now;
    }
    void Print() const
    {
        double sum = 0;
        for (int i = 0; i < m_ms.GetSize(); ++i)
            sum += m_ms[i];
        std::printf("the install's steps (ms before each kind of log line, summed; %.1f ms in all):\n", sum);
        for (int i = 0; i < m_kinds.GetSize(); ++i)
            std::printf("  %7.1f  %3d x  %s\n", m_ms[i], m_count[i], m_kinds[i].ToUtf8().GetString());
    }

private:
    static CStringW Kind(const CStringW& line)
    {
        int end = 0;
        while (end < line.GetLength() && end < 40 && line.GetString()[end] != L'\xFF1A' && line.GetString()[end] != L':' && line.GetString()[end] != L'\n')
            ++end;
        return line.Left(end);
    }
    LARGE_INTEGER m_last;
    CStringArrayW m_kinds;
    CArray<double> m_ms;
    CArray<int> m_count;
};

// Check and Run once, every step timed (the time of the sequence per step).
int Steps(const char* pszDest, const CString& list)
{
    SetPayloadListForTesting(list);
    theAcadRegistry.FindAcadReleases();
    StepTimer timer;
    InstallSequence sequence(theAcadRegistry, timer);
    InstallChoice choice;
    choice.strFolder = CStringW::FromText(pszDest);
    OfferedReleases(theAcadRegistry, choice.ticked);
    InstallPlan plan;
    timer.Attribute(L"(discovery)");
    const bool done = sequence.Check(choice, false, plan) == kExitDone && sequence.Run(plan) == kExitDone;
    timer.Attribute(L"(after the last line)");
    timer.Print();
    RegKey machine;
    if (machine.Open(HKEY_LOCAL_MACHINE, CStringW(), MAXIMUM_ALLOWED)) {
        machine.DeleteTree(CStringW::FromText(kUninstallEntryKey));
        machine.DeleteTree(CStringW::FromText(kActiveSetupKey));
    }
    return done ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Files::SetModulePathForTesting(CStringW::FromText((std::string(argv[1]) + "\\SetUp.exe").c_str()));
    const bool profile = argc > 3 && std::strcmp(argv[3], "profile") == 0;
    const bool steps = argc > 3 && std::strcmp(argv[3], "steps") == 0;
    const int listArg = profile || steps ? 4 : 3;
    // The distribution's program carries its list; this one is given it.
    CString list;
    if (argc > listArg && !Files::ReadAll(CStringW::FromText(argv[listArg]), list))
        return 2;
    if (profile)
        return Profile(argv[2], list);
    if (steps)
        return Steps(argv[2], list);
    SetPayloadListForTesting(list);
    theAcadRegistry.FindAcadReleases();
    LoggedReporter nobody(nullptr, nullptr);  // unattended: no window, no log
    InstallSequence sequence(theAcadRegistry, nobody);
    InstallChoice choice;
    choice.strFolder = CStringW::FromText(argv[2]);
    OfferedReleases(theAcadRegistry, choice.ticked);
    InstallPlan plan;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (sequence.Check(choice, false, plan) != kExitDone || plan.bListed != !list.IsEmpty())
        return 1;
    QueryPerformanceCounter(&t1);
    std::printf("check: %.1f ms (InstallSequence::Check, in-process)\n", Ms(t0, t1));
    QueryPerformanceCounter(&t0);
    const ExitCode result = sequence.Run(plan);
    QueryPerformanceCounter(&t1);
    RegKey machine;
    if (machine.Open(HKEY_LOCAL_MACHINE, CStringW(), MAXIMUM_ALLOWED)) {
        machine.DeleteTree(CStringW::FromText(kUninstallEntryKey));
        machine.DeleteTree(CStringW::FromText(kActiveSetupKey));
    }
    if (result != kExitDone)
        return 1;
    std::printf("install sequence: %.1f ms (InstallSequence::Run, in-process)\n", Ms(t0, t1));
    return 0;
}
