#include "deploy/RunningAcad.h"

#include "platform/Processes.h"

namespace {
const char kAcadImage[] = "acad.exe";
}

bool IsAcadRunning()
{
    CString target(kAcadImage);
    target.MakeLower();
    return Processes::AnyImageName([&](const char* pszImage) {
        CString image(pszImage);
        image.MakeLower();
        return image.Find(target) >= 0;
    });
}
