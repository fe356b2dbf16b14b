#include "deploy/RunningAcad.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Processes.h"
#include "tests/support/TempFolder.h"

namespace {

// Starts a copy of the sleeper helper under the given image name.
class RunningImage {
public:
    RunningImage(const TempFolder& dir, const char* image)
    {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string helper = self;
        helper = helper.substr(0, helper.rfind('\\')) + "\\sleeper.exe";
        const std::string copy = dir / image;
        CopyFileA(helper.c_str(), copy.c_str(), FALSE);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + copy + "\" 30000";
        m_started = CreateProcessA(copy.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &m_pi) != FALSE;
        for (int i = 0; i < 500 && m_started; ++i) {  // until it is listed
            if (Processes::AnyImageName([&](const wchar_t* n) { return CStringW(n).EqualsNoCase(CStringW::FromText(image)); }))
                break;
            Sleep(10);
        }
    }
    ~RunningImage()
    {
        if (m_started) {
            TerminateProcess(m_pi.hProcess, 0);
            WaitForSingleObject(m_pi.hProcess, 5000);
            CloseHandle(m_pi.hProcess);
            CloseHandle(m_pi.hThread);
        }
    }
    bool started() const { return m_started; }

private:
    PROCESS_INFORMATION m_pi = {};
    bool m_started = false;
};

} // namespace

TEST(IsAcadRunning, ImageNamesContainingAcadExeInAnyCase)
{
    EXPECT_FALSE(IsAcadRunning());
    TempFolder dir;
    {
        RunningImage acad(dir, "ACAD.EXE");
        ASSERT_TRUE(acad.started());
        EXPECT_TRUE(IsAcadRunning());
    }
    {
        RunningImage other(dir, "notacad.exe");
        ASSERT_TRUE(other.started());
        EXPECT_TRUE(IsAcadRunning());
    }
    {
        RunningImage unrelated(dir, "acadx.exe");
        ASSERT_TRUE(unrelated.started());
        EXPECT_FALSE(IsAcadRunning());
    }
}
