#include "framework/Gdi.h"

namespace {

// The screen's device context, released when it goes.
class ScreenDC {
public:
    ScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~ScreenDC()
    {
        if (m_hDC)
            ::ReleaseDC(nullptr, m_hDC);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

// A memory device context with one bitmap selected, both put back when it goes.
class MemoryDC {
public:
    MemoryDC(HDC hLike, HBITMAP hBitmap) : m_hDC(::CreateCompatibleDC(hLike))
    {
        if (m_hDC)
            m_hOld = ::SelectObject(m_hDC, hBitmap);
    }
    ~MemoryDC()
    {
        if (!m_hDC)
            return;
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
        ::DeleteDC(m_hDC);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_hDC; }
    bool IsValid() const { return m_hDC && m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};

} // namespace

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return TRUE;
}

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    if (!h)
        return FALSE;
    DeleteObject();
    m_hObject = h;
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, const char* pszFacename)
{
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                nQuality, nPitchAndFamily, pszFacename));
}

int ScreenDpi()
{
    const ScreenDC screen;
    const int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int ScaleToScreen(int nPixels)
{
    return ::MulDiv(nPixels, ScreenDpi(), USER_DEFAULT_SCREEN_DPI);
}

BOOL CBitmap::CreateScaledCopy(HBITMAP hSource)
{
    BITMAP source = {};
    if (!::GetObjectA(hSource, sizeof source, &source))
        return FALSE;
    const int width = ScaleToScreen(source.bmWidth);
    const int height = ScaleToScreen(source.bmHeight);
    const ScreenDC screen;
    CBitmap scaled;
    if (!screen.Get() || !scaled.Attach(::CreateCompatibleBitmap(screen.Get(), width, height)))
        return FALSE;
    {
        const MemoryDC from(screen.Get(), hSource);
        const MemoryDC to(screen.Get(), scaled);
        if (!from.IsValid() || !to.IsValid())
            return FALSE;
        // Averaged, not every other pixel doubled: the logo's edges stay smooth.
        ::SetStretchBltMode(to.Get(), HALFTONE);
        ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
        if (!::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, source.bmWidth, source.bmHeight,
                          SRCCOPY))
            return FALSE;
    }
    Attach(scaled.m_hObject);
    scaled.m_hObject = nullptr;
    return TRUE;
}

BOOL ShowPictureScaled(HWND hStatic, CBitmap& scaled)
{
    const HBITMAP loaded = reinterpret_cast<HBITMAP>(::SendMessageA(hStatic, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!loaded || ScreenDpi() == USER_DEFAULT_SCREEN_DPI)
        return loaded != nullptr;
    if (!scaled.CreateScaledCopy(loaded))
        return FALSE;
    const HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageA(hStatic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(scaled))));
    if (previous && previous != static_cast<HGDIOBJ>(static_cast<HBITMAP>(scaled)))
        ::DeleteObject(previous);
    return TRUE;
}
