// The product's look, shared by the setup's and the uninstaller's dialogs.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"

namespace Look {

const COLORREF kBackground = RGB(160, 180, 220);
const COLORREF kText = RGB(0, 0, 0);
const COLORREF kHeading = RGB(10, 70, 40);
constexpr const char kFontFace[] = "宋体";

// A heading font: face kFontFace, the rest left to the font mapper.
struct HeadingFont {
    int nHeight;  // pixels at 96 DPI, scaled to the screen's DPI as the dialog's own font is
    int nWeight;
};
const HeadingFont kTitleFont = {14, 600};
const HeadingFont kEditionFont = {13, 400};

inline void CreateHeadingFont(CFont& font, const HeadingFont& heading)
{
    font.CreateFont(ScaleToScreen(heading.nHeight), 0, 0, 0, heading.nWeight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, kFontFace);
}

} // namespace Look
