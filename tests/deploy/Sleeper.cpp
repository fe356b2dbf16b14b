// Helper process for the running-AutoCAD tests: sleeps for argv[1] milliseconds.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    Sleep(argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 30000);
    return 0;
}
