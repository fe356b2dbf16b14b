#include "ui/SetupDialog.h"

#include "acad/AcadRegistry.h"
#include "platform/BuildConstants.h"
#include "platform/Files.h"
#include "res/Look.h"
#include "res/Texts.h"
#include "sequence/InstallSequence.h"

const int kReleaseCheckIds[kReleaseCount] = {
    IDC_ACAD2007, IDC_ACAD2008, IDC_ACAD2009, IDC_ACAD2010, IDC_ACAD2011, IDC_ACAD2012,
    IDC_ACAD2013, IDC_ACAD2014, IDC_ACAD2015, IDC_ACAD2016, IDC_ACAD2017, IDC_ACAD2018,
    IDC_ACAD2019, IDC_ACAD2020, IDC_ACAD2021, IDC_ACAD2022, IDC_ACAD2023, IDC_ACAD2024,
    IDC_ACAD2025, IDC_ACAD2026, IDC_ACAD2027,
};

namespace {

BOOL Dlg_Setup::*const kTicks[kReleaseCount] = {
    &Dlg_Setup::m_bAcad2007, &Dlg_Setup::m_bAcad2008, &Dlg_Setup::m_bAcad2009,
    &Dlg_Setup::m_bAcad2010, &Dlg_Setup::m_bAcad2011, &Dlg_Setup::m_bAcad2012,
    &Dlg_Setup::m_bAcad2013, &Dlg_Setup::m_bAcad2014, &Dlg_Setup::m_bAcad2015,
    &Dlg_Setup::m_bAcad2016, &Dlg_Setup::m_bAcad2017, &Dlg_Setup::m_bAcad2018,
    &Dlg_Setup::m_bAcad2019, &Dlg_Setup::m_bAcad2020, &Dlg_Setup::m_bAcad2021,
    &Dlg_Setup::m_bAcad2022, &Dlg_Setup::m_bAcad2023, &Dlg_Setup::m_bAcad2024,
    &Dlg_Setup::m_bAcad2025, &Dlg_Setup::m_bAcad2026, &Dlg_Setup::m_bAcad2027,
};

CButton Dlg_Setup::*const kChecks[kReleaseCount] = {
    &Dlg_Setup::m_chkAcad2007, &Dlg_Setup::m_chkAcad2008, &Dlg_Setup::m_chkAcad2009,
    &Dlg_Setup::m_chkAcad2010, &Dlg_Setup::m_chkAcad2011, &Dlg_Setup::m_chkAcad2012,
    &Dlg_Setup::m_chkAcad2013, &Dlg_Setup::m_chkAcad2014, &Dlg_Setup::m_chkAcad2015,
    &Dlg_Setup::m_chkAcad2016, &Dlg_Setup::m_chkAcad2017, &Dlg_Setup::m_chkAcad2018,
    &Dlg_Setup::m_chkAcad2019, &Dlg_Setup::m_chkAcad2020, &Dlg_Setup::m_chkAcad2021,
    &Dlg_Setup::m_chkAcad2022, &Dlg_Setup::m_chkAcad2023, &Dlg_Setup::m_chkAcad2024,
    &Dlg_Setup::m_chkAcad2025, &Dlg_Setup::m_chkAcad2026, &Dlg_Setup::m_chkAcad2027,
};

} // namespace

CString ComposeSetupTitle(int nVersion)
{
    const int major = nVersion / 10000;
    const int minor = (nVersion % 10000) / 100;
    const int patch = nVersion % 100;
    CString head, title;
    head.Format(minor >= 10 ? Texts::kTitleMinorWide : Texts::kTitleMinorNarrow, major, minor);
    title.Format(patch >= 10 ? Texts::kTitlePatchWide : Texts::kTitlePatchNarrow, head.GetString(), patch);
    return title;
}

BEGIN_MESSAGE_MAP(Dlg_Setup, CDialog)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_ACAD2007, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2008, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2009, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2010, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2011, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2012, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2013, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2014, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2015, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2016, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2017, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2018, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2019, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2020, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2021, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2022, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2023, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2024, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2025, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2026, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_ACAD2027, OnReleaseCheckClicked)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_INSTALL, OnInstall)
    ON_COMMAND(IDOK, OnEnterKey)
END_MESSAGE_MAP()

Dlg_Setup::Dlg_Setup(CWnd* pParent)
    : CDialog(IDD_SETUP, pParent)
{
    for (BOOL Dlg_Setup::*tick : kTicks)
        this->*tick = TRUE;
    m_strTitle = "";
    m_strBits = "";
    m_strInstallPath = kDefaultInstallFolder;
}

Dlg_Setup::~Dlg_Setup() = default;

BOOL& Dlg_Setup::Ticked(int k)
{
    return this->*kTicks[k];
}

void Dlg_Setup::TickedReleases(ReleaseTicks& ticked)
{
    for (int k = 0; k < kReleaseCount; ++k)
        ticked[k] = Ticked(k);
}

CButton& Dlg_Setup::ReleaseCheck(int k)
{
    return this->*kChecks[k];
}

void Dlg_Setup::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int k = kReleaseCount - 1; k >= 0; --k)  // declaration order: 2027 down to 2007
        DDX_Control(pDX, kReleaseCheckIds[k], ReleaseCheck(k));
    for (int k = 0; k < kReleaseCount; ++k)
        DDX_Check(pDX, kReleaseCheckIds[k], Ticked(k));
    DDX_Text(pDX, IDC_TITLE, m_strTitle);
    DDX_Text(pDX, IDC_EDITION, m_strBits);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Text(pDX, IDC_INSTALL_PATH, m_strInstallPath);
}

BOOL Dlg_Setup::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_brBackground.CreateSolidBrush(Look::kBackground);
    CreateHeadingFonts();
    ScalePictures();

    m_strTitle = ComposeSetupTitle(g_nSetupVersion);
    m_strBits.Format(Texts::kEditionFormat, g_nTargetBits);

    HICON hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (hIcon)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));

    // The same rule as the unattended run's: what is offered starts ticked, the
    // rest cannot be ticked, and what this edition withholds is not shown.
    ReleaseTicks offered;
    OfferedReleases(theAcadRegistry, offered);
    for (int k = 0; k < kReleaseCount; ++k) {
        Ticked(k) = offered[k];
        if (!offered[k])
            ReleaseCheck(k).EnableWindow(FALSE);
        if (IsWithheld(k))
            ReleaseCheck(k).ShowWindow(SW_HIDE);
    }
    UpdateData(FALSE);
    if (!m_strProposedFolder.IsEmpty())
        ::SetWindowTextW(GetDlgItem(IDC_INSTALL_PATH), m_strProposedFolder.GetString());
    UpdateInstallButton();
    return TRUE;
}

void Dlg_Setup::ProposeFolder(const CStringW& strFolder)
{
    if (!PathToText(strFolder, m_strInstallPath))
        m_strProposedFolder = strFolder;
}

void Dlg_Setup::UpdateInstallButton()
{
    UpdateData(TRUE);
    bool any = false;
    for (int k = 0; k < kReleaseCount; ++k)
        any = any || Ticked(k);
    ::EnableWindow(GetDlgItem(IDC_INSTALL), any ? TRUE : FALSE);
}

void Dlg_Setup::OnReleaseCheckClicked()
{
    UpdateInstallButton();
}

void Dlg_Setup::OnOK()
{
    CDialog::OnOK();
}

void Dlg_Setup::OnCancel()
{
    if (m_bBusy || m_bChecking)
        return;  // Cancel or the close box while files are checked or copied: the install goes on
    CDialog::OnCancel();
}

BOOL Dlg_Setup::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (msg == WM_QUERYENDSESSION && m_bBusy) {
        *pResult = FALSE;
        return TRUE;
    }
    // The payload is checked while the user reads the dialog.
    if (msg == WM_SHOWWINDOW && wParam && !m_bPrepared) {
        m_bPrepared = true;
        m_bPrepareDue = ::SetTimer(m_hWnd, kPrepareTimer, USER_TIMER_MINIMUM, nullptr) != 0;
    } else if (msg == WM_TIMER && wParam == kPrepareTimer) {
        ::KillTimer(m_hWnd, kPrepareTimer);
        // One already queued when a click came first finds nothing due.
        if (m_bPrepareDue) {
            m_bPrepareDue = false;
            PrepareInstall(m_plan);
        }
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnWndMsg(msg, wParam, lParam, pResult);
}

void Dlg_Setup::OnEnterKey()
{
}
