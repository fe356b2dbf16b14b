#include "uninstall/UninstallDialog.h"

#include "res/Look.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"
#include "sequence/RemovalSequence.h"
#include "sequence/TemporaryCopy.h"

namespace {

const char kLineBreak[] = "\r\n";
const char kIndent[] = "    ";

void AddSection(CString& text, const CString& heading, const CStringArray& items, const CStringArray* pLabels)
{
    if (items.IsEmpty())
        return;
    text += heading + kLineBreak;
    for (int i = 0; i < items.GetSize(); ++i) {
        text += kIndent;
        if (pLabels)
            text += (*pLabels)[i] + "  ";
        text += items[i] + kLineBreak;
    }
    text += kLineBreak;
}

} // namespace

CString DescribeRemovalPlan(const CRemovalPlan& plan, const CString& strFolder)
{
    CString text, heading;
    heading.Format(Texts::kPlanRegistrationsFormat, plan.m_arrRegistrations.GetSize());
    AddSection(text, heading, plan.m_arrRegistrations, &plan.m_arrRegistrationReleases);
    heading.Format(Texts::kPlanProfilesFormat, strFolder.GetString(), plan.m_arrProfiles.GetSize());
    AddSection(text, heading, plan.m_arrProfiles, nullptr);
    AddSection(text, Texts::kPlanDrivers, plan.m_arrDriverFolders, nullptr);
    AddSection(text, Texts::kPlanDriversLeft, plan.m_arrDriversLeft, nullptr);
    text += CString(Texts::kPlanFolder) + kLineBreak + kIndent + strFolder + kLineBreak + kLineBreak;
    text += Texts::kPlanFontsStay;
    return text;
}

BEGIN_MESSAGE_MAP(Dlg_Uninstall, CDialog)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_UNINSTALL, OnUninstall)
    ON_COMMAND(IDOK, OnEnterKey)
END_MESSAGE_MAP()

Dlg_Uninstall::Dlg_Uninstall(const RemovalSequence& removal)
    : CDialog(IDD_UNINSTALL, nullptr), m_removal(removal)
{
}

BOOL Dlg_Uninstall::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_brBackground.CreateSolidBrush(Look::kBackground);
    Look::CreateHeadingFont(m_fontHeading, Look::kTitleFont);
    ShowPictureScaled(GetDlgItem(IDC_LOGO), m_bmpLogo);
    HICON hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (hIcon)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    CWnd plan;
    plan.Attach(GetDlgItem(IDC_UNINSTALL_PLAN));
    plan.SetWindowText(DescribeRemovalPlan(m_removal.Plan(), m_removal.Folder()));
    plan.Detach();
    // The list is read from its top; nothing happens until 卸载 is chosen.
    ::SendMessageA(GetDlgItem(IDC_UNINSTALL_PLAN), EM_SETSEL, 0, 0);
    ::SetFocus(GetDlgItem(IDCANCEL));
    return FALSE;  // the focus is set
}

HBRUSH Dlg_Uninstall::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);  // default colours first; brush unused
    const int id = pWnd->GetDlgCtrlID();
    pDC->SetTextColor(Look::kText);
    if (id == IDC_UNINSTALL_PLAN)
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));  // the list reads like a page
    pDC->SetBkMode(TRANSPARENT);
    if (id == IDC_UNINSTALL_HEADING) {
        pDC->SelectObject(&m_fontHeading);
        pDC->SetTextColor(Look::kHeading);
    }
    return static_cast<HBRUSH>(m_brBackground);
}

void Dlg_Uninstall::OnUninstall()
{
    WindowReporter boxes(this, nullptr);
    LoggedReporter reporter(&boxes, m_pLog);
    if (m_removal.Check(reporter) != kExitDone)
        return;  // told; a later click checks again
    CStringW copy;
    const WinResult started = StartTemporaryCopy(kCopyRemoves, m_removal.Folder(), m_pLog ? m_pLog->Path() : CStringW(),
                                                 m_pLog ? m_pLog->Identity() : CStringW(), copy);
    if (!started) {
        reporter.Note(FailureLine(Texts::kUninstallCannotStartFormat, copy, started.Code()));
        reporter.Tell(CStringW::FormatText(Texts::kUninstallCannotStartFormat, copy.GetString()), Texts::kCaptionUninstall);
        return;
    }
    m_nResult = kExitDone;
    EndDialog(IDOK);
}

void Dlg_Uninstall::OnEnterKey()
{
}
