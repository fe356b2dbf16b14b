// Prints the ANSI code page and creates the GBK-named folder given as argument 1
// (a narrow path), so the shell can check the name that reaches the Linux disk.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    std::printf("acp=%u\n", GetACP());
    if (argc > 1) {
        char path[MAX_PATH];
        // "Trabex扩展绘图库" written as GBK bytes by the compiler.
        std::snprintf(path, sizeof path, "%s\\Trabex扩展绘图库", argv[1]);
        std::printf("created=%d\n", CreateDirectoryA(path, nullptr) ? 1 : 0);
    }
    return 0;
}
