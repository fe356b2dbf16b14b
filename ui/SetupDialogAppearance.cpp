// The dialog's light blue background, transparent texts and coloured headings.
#include "ui/SetupDialog.h"

namespace {

const COLORREF kTextColour = RGB(0, 0, 0);
const COLORREF kHeadingColour = RGB(10, 70, 40);

// Heading fonts: face "宋体", the rest left to the font mapper.
struct HeadingFont {
    int nHeight;
    int nWeight;
};
const HeadingFont kTitleFont = {14, 600};
const HeadingFont kEditionFont = {13, 400};

void CreateHeading(CFont& font, const HeadingFont& heading)
{
    font.CreateFont(heading.nHeight, 0, 0, 0, heading.nWeight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, "宋体");
}

} // namespace

void Dlg_Setup::CreateHeadingFonts()
{
    CreateHeading(m_fontTitle, kTitleFont);
    CreateHeading(m_fontEdition, kEditionFont);
}

HBRUSH Dlg_Setup::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);  // default colours first; brush unused
    const int id = pWnd->GetDlgCtrlID();
    pDC->SetTextColor(kTextColour);
    if (id != IDC_INSTALL_PATH)
        pDC->SetBkMode(TRANSPARENT);
    if (id == IDC_TITLE) {
        pDC->SelectObject(&m_fontTitle);
        pDC->SetTextColor(kHeadingColour);
    } else if (id == IDC_EDITION) {
        pDC->SelectObject(&m_fontEdition);
        pDC->SetTextColor(kHeadingColour);
    }
    return static_cast<HBRUSH>(m_brBackground);
}
