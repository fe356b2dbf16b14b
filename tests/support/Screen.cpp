#include "tests/support/Screen.h"

#include <cstdio>

std::vector<DWORD> CaptureScreen(const RECT& r)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<DWORD> pixels;
    if (w <= 0 || h <= 0)
        return pixels;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    const DWORD* px = static_cast<const DWORD*>(bits);
    pixels.assign(px, px + static_cast<size_t>(w) * static_cast<size_t>(h));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    for (DWORD& p : pixels)
        p &= 0x00FFFFFF;
    return pixels;
}

bool SaveScreenBmp(const RECT& r, const char* pszPath)
{
    const std::vector<DWORD> pixels = CaptureScreen(r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (pixels.empty())
        return false;
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = -h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size() * sizeof(DWORD));
    FILE* f = std::fopen(pszPath, "wb");
    if (!f)
        return false;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(pixels.data(), sizeof(DWORD), pixels.size(), f);
    std::fclose(f);
    return true;
}
