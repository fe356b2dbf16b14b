#include "deploy/RunningAcad.h"

#include "platform/Processes.h"

#include <cwchar>

namespace {
const wchar_t kAcadImage[] = L"acad.exe";
}

bool IsAcadRunning()
{
    const size_t n = std::wcslen(kAcadImage);
    // The name anywhere in the image's name, its letters in any case.
    return Processes::AnyImageName([&](const wchar_t* pszImage) {
        for (const wchar_t* p = pszImage; *p; ++p) {
            if (_wcsnicmp(p, kAcadImage, n) == 0)
                return true;
        }
        return false;
    });
}
