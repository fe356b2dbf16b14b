// GDI wrappers: a borrowed device context, and brushes and fonts that delete
// their GDI object when destroyed.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
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

// Borrows a device context for the length of one message; never releases it.
class CDC {
public:
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    HFONT SelectObject(CFont* pFont) { return static_cast<HFONT>(::SelectObject(m_hDC, *pFont)); }
    HDC m_hDC;
};
