// The setup dialog: release check boxes, install folder, Install and Browse.
#pragma once

#include "acad/ReleaseTable.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "sequence/ExitCodes.h"
#include "sequence/InstallSequence.h"

class LogFile;

class Dlg_Setup : public CDialog {
public:
    explicit Dlg_Setup(CWnd* pParent = nullptr);
    ~Dlg_Setup() override;

    // Enables Install while at least one release is ticked.
    void UpdateInstallButton();
    // Copies and registers; false when the installation did not complete.
    bool RunInstallSequence();
    // How the dialog's last installation ended (an ExitCode); kExitCancelled
    // until one runs (closing the dialog is the user's cancel).
    int Result() const { return m_nResult; }
    // Also writes every step and message into log (which must outlive the dialog).
    void SetLog(LogFile* pLog) { m_pLog = pLog; }
    // The folder the box shows at first instead of the default (/D=), as given:
    // one the install cannot use is refused when Install is clicked, with the
    // reason.
    void ProposeFolder(const CStringW& strFolder);

    CBrush m_brBackground;
    CButton m_chkAcad2027, m_chkAcad2026, m_chkAcad2025, m_chkAcad2024, m_chkAcad2023,
        m_chkAcad2022, m_chkAcad2021, m_chkAcad2020, m_chkAcad2019, m_chkAcad2018,
        m_chkAcad2017, m_chkAcad2016, m_chkAcad2015, m_chkAcad2014, m_chkAcad2013,
        m_chkAcad2012, m_chkAcad2011, m_chkAcad2010, m_chkAcad2009, m_chkAcad2008,
        m_chkAcad2007;
    BOOL m_bAcad2007, m_bAcad2008, m_bAcad2009, m_bAcad2010, m_bAcad2011, m_bAcad2012,
        m_bAcad2013, m_bAcad2014, m_bAcad2015, m_bAcad2016, m_bAcad2017, m_bAcad2018,
        m_bAcad2019, m_bAcad2020, m_bAcad2021, m_bAcad2022, m_bAcad2023, m_bAcad2024,
        m_bAcad2025, m_bAcad2026, m_bAcad2027;
    CString m_strTitle;
    CString m_strBits;
    CProgressCtrl m_progress;
    CString m_strInstallPath;

    // One font per heading, kept while the dialog lives so that no control
    // ever draws with a deleted font.
    CFont m_fontTitle;
    CFont m_fontEdition;
    // The pictures at the screen's scale, kept while the dialog lives.
    CBitmap m_bmpLogo;
    CBitmap m_bmpMenuPreview;

    // The ticked state and check box of release k (year 2007 + k).
    BOOL& Ticked(int k);
    // All 21 ticked states, 2007 first.
    void TickedReleases(ReleaseTicks& ticked);
    CButton& ReleaseCheck(int k);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // While the install runs, a logoff or shutdown is refused (it would leave half
    // an installation); every other message goes the dialog's way.
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnReleaseCheckClicked();
    void OnBrowse();
    void OnInstall();
    // Enter outside a push button: nothing (the hidden IDOK button must not end setup).
    void OnEnterKey();
    // The headings' fonts and the pictures, at the screen's scale.
    void CreateHeadingFonts();
    void ScalePictures();

    // Set when the dialog shows: the install is prepared (PrepareInstall) once
    // the dialog is up and painted (a timer comes after the paint), not before.
    static constexpr UINT_PTR kPrepareTimer = 1;
    bool m_bPrepared = false;    // the timer was set (once)
    bool m_bPrepareDue = false;  // and has neither fired nor given way to a click
    // What the checks of the last Install click decided (and the payload's
    // check begun before the first click).
    InstallPlan m_plan;
    // The folder from the command line, when GBK cannot hold it (the box shows it whole).
    CStringW m_strProposedFolder;
    int m_nResult = kExitCancelled;
    LogFile* m_pLog = nullptr;
    // While the install runs the window answers, but Install, Browse, Cancel and
    // the close box do nothing.
    bool m_bBusy = false;
    // The same while the checks run (the payload against the program's list
    // takes a while), but a logoff is not held up: nothing is written yet.
    bool m_bChecking = false;

    DECLARE_MESSAGE_MAP()
};

// TRUE until the first Install click that found AutoCAD running.
extern bool g_bWarnHostRunning;

// "Ostrevo软件 V2026.03.31": minor and patch shown with at least two digits.
CString ComposeSetupTitle(int nVersion);

// Check-box ID of release k, 2007 first (2010 and 2011 are 1027 and 1026).
extern const int kReleaseCheckIds[kReleaseCount];
