// The dialog's light blue background, transparent texts and coloured headings.
#include "ui/SetupDialog.h"

#include "res/Look.h"

namespace {

const COLORREF kTextColour = Look::kText;
const COLORREF kHeadingColour = Look::kHeading;

} // namespace

void Dlg_Setup::CreateHeadingFonts()
{
    Look::CreateHeadingFont(m_fontTitle, Look::kTitleFont);
    Look::CreateHeadingFont(m_fontEdition, Look::kEditionFont);
    // Also the controls' own fonts: what measures a heading from outside (a
    // screen reader, a magnifier) measures what is drawn.
    ::SendMessageA(GetDlgItem(IDC_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontTitle.GetSafeHandle()), FALSE);
    ::SendMessageA(GetDlgItem(IDC_EDITION), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontEdition.GetSafeHandle()),
                   FALSE);
}

void Dlg_Setup::ScalePictures()
{
    ShowPictureScaled(GetDlgItem(IDC_LOGO), m_bmpLogo);
    ShowPictureScaled(GetDlgItem(IDC_MENU_PREVIEW), m_bmpMenuPreview);
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
