// Discovery over a large synthetic AutoCAD tree in the real HKEY_LOCAL_MACHINE of
// the bench prefix.
//   DiscoveryBench seed   builds the tree (about 20,000 keys)
//   DiscoveryBench run    runs FindAcadReleases once and prints what it found
//   DiscoveryBench clean  removes the tree
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "acad/AcadRegistry.h"

namespace {

const char kRoot[] = "SOFTWARE\\Autodesk\\AutoCAD";
const int kReleases = 40;
const int kProducts = 50;
const int kChildren = 9;  // nested keys below each product

void SetString(HKEY h, const char* name, const char* value)
{
    RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(std::strlen(value) + 1));
}

int Seed()
{
    HKEY root = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    int keys = 0;
    for (int r = 0; r < kReleases; ++r) {
        char name[64];
        std::snprintf(name, sizeof name, "R%02d.%d", 17 + r / 2, r % 2);
        HKEY release = nullptr;
        RegCreateKeyExA(root, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &release, nullptr);
        ++keys;
        for (int p = 0; p < kProducts; ++p) {
            std::snprintf(name, sizeof name, "ACAD-%04X:%03X", r * 100 + p, 0x804);
            HKEY product = nullptr;
            RegCreateKeyExA(release, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &product, nullptr);
            ++keys;
            SetString(product, "Language", "zh-CN");
            if (p == 0 && r % 8 == 0) {  // few matching products
                char folder[64], product_name[64];
                std::snprintf(folder, sizeof folder, "C:\\Program Files\\AutoCAD %d\\", 2007 + r / 2);
                std::snprintf(product_name, sizeof product_name, "AutoCAD %d", 2007 + r / 2);
                SetString(product, "AcadLocation", folder);
                SetString(product, "ProductName", product_name);
            }
            for (int c = 0; c < kChildren; ++c) {
                std::snprintf(name, sizeof name, "Section%d", c);
                HKEY child = nullptr;
                RegCreateKeyExA(product, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
                SetString(child, "Setting", "value");
                RegCloseKey(child);
                ++keys;
            }
            RegCloseKey(product);
        }
        RegCloseKey(release);
    }
    RegCloseKey(root);
    std::printf("seeded %d keys\n", keys);
    return 0;
}

int Run()
{
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    theAcadRegistry.FindAcadReleases();
    QueryPerformanceCounter(&t1);
    int found = 0;
    for (int k = 0; k < kReleaseCount; ++k)
        found += theAcadRegistry.m_arrAcadFolders[k].GetSize();
    std::printf("found %d products in %.1f ms (in-process)\n", found,
                1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    if (std::strcmp(argv[1], "seed") == 0)
        return Seed();
    if (std::strcmp(argv[1], "run") == 0)
        return Run();
    if (std::strcmp(argv[1], "clean") == 0)
        return RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot) == ERROR_SUCCESS ? 0 : 1;
    return 2;
}
