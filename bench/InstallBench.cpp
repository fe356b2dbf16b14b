// The install sequence's work on a payload, without the dialog:
//   InstallBench DIST DEST   copies DIST\Data into DEST (payload and library),
//                            then registers and places the support files.
#include <windows.h>

#include <cstdio>

#include "acad/AcadRegistry.h"
#include "deploy/PayloadCopier.h"
#include "platform/Files.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Files::SetModulePathForTesting((std::string(argv[1]) + "\\SetUp.exe").c_str());
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    theAcadRegistry.FindAcadReleases();
    CPayloadCopier copier(argv[2], nullptr);
    if (!copier.CopyPayload())
        return 1;
    copier.CopyExtendedLibrary();
    theAcadRegistry.SetInstallFolder(argv[2]);
    const BOOL t = TRUE;
    theAcadRegistry.RegisterWithAcad(t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t);
    theAcadRegistry.InstallSupportFiles(t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t);
    QueryPerformanceCounter(&t1);
    std::printf("install sequence: %.1f ms (in-process)\n",
                1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart));
    return 0;
}
