#include <windows.h>

#include "acad/AcadRegistry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    theAcadRegistry.FindAcadReleases();
    return 0;
}
