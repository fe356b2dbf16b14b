// GDI wrappers: a borrowed device context, and brushes, fonts and bitmaps that
// delete their GDI object when destroyed; the screen's scale.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();

protected:
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ m_hObject = nullptr;
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                    BYTE nPitchAndFamily, const char* pszFacename);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

// A picture drawn at the screen's scale: a copy of another bitmap, stretched
// by ScreenDpi() / 96.
class CBitmap : public CGdiObject {
public:
    BOOL CreateScaledCopy(HBITMAP hSource);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

// The screen's dots per inch (LOGPIXELSY): 96 at 100 % scaling, 144 at 150 %.
int ScreenDpi();
// A length given in pixels at 96 DPI, in pixels of this screen. Dialog templates
// scale by themselves; fonts made with a pixel height and pictures do not.
int ScaleToScreen(int nPixels);
// Shows in the bitmap static hStatic its picture at the screen's scale; the
// static takes the size of the new picture. scaled owns it and must outlive
// the window; the picture the static loaded from the template is deleted.
// FALSE, and the picture left as it was, when no copy could be made.
BOOL ShowPictureScaled(HWND hStatic, CBitmap& scaled);

// Borrows a device context for the length of one message; never releases it.
class CDC {
public:
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    HFONT SelectObject(CFont* pFont) { return static_cast<HFONT>(::SelectObject(m_hDC, *pFont)); }
    HDC m_hDC;
};
