// The Install and Browse commands of the setup dialog.
#include "ui/SetupDialog.h"

#include "acad/AcadRegistry.h"
#include "picker/PathDialog.h"
#include "platform/Files.h"
#include "res/Texts.h"
#include "sequence/InstallSequence.h"
#include "sequence/LoggedReporter.h"

bool g_bWarnHostRunning = true;

void Dlg_Setup::OnInstall()
{
    if (m_bBusy || m_bChecking)
        return;
    // A click before the install was prepared checks the payload itself: the
    // timer must not start a second check while this one's install runs.
    if (m_bPrepareDue) {
        m_bPrepareDue = false;
        ::KillTimer(m_hWnd, kPrepareTimer);
    }
    UpdateData(TRUE);
    WindowReporter boxes(this, &m_progress);
    LoggedReporter reporter(&boxes, m_pLog);
    InstallSequence sequence(theAcadRegistry, reporter);
    InstallChoice choice;
    // The box's own text, every character kept: the checks refuse one GBK lacks.
    choice.strFolder = WindowTextW(GetDlgItem(IDC_INSTALL_PATH));
    TickedReleases(choice.ticked);

    // The running-AutoCAD warning is given once; the next click goes on. The
    // window answers while the payload is checked against the program's list: a
    // second click, Browse or Cancel meanwhile does nothing.
    m_bChecking = true;
    m_nResult = sequence.Check(choice, g_bWarnHostRunning, m_plan);
    m_bChecking = false;
    if (m_nResult == kExitAcadRunning)
        g_bWarnHostRunning = false;
    if (m_nResult != kExitDone) {
        m_nResult = kExitCancelled;  // refused and told: the dialog stays for another choice
        return;
    }
    m_strInstallPath = m_plan.strInstallFolder;

    RunInstallSequence();
    if (m_nResult == kExitDone)
        OnOK();
    else
        OnCancel();  // as after an Abort: no completion message
}

bool Dlg_Setup::RunInstallSequence()
{
    ::ShowWindow(GetDlgItem(IDC_PATH_LABEL), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_INSTALL_PATH), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_BROWSE), SW_HIDE);
    m_progress.ShowWindow(SW_SHOWNORMAL);  // the sequence sets its range from the payload
    ::EnableWindow(GetDlgItem(IDC_INSTALL), FALSE);
    for (int k = 0; k < kReleaseCount; ++k)
        ReleaseCheck(k).EnableWindow(FALSE);

    WindowReporter boxes(this, &m_progress);
    LoggedReporter reporter(&boxes, m_pLog);
    InstallSequence sequence(theAcadRegistry, reporter);
    m_bBusy = true;
    AfxBlockShutdown(this, CStringW::FromText(Texts::kShutdownWhileInstalling));
    m_nResult = sequence.Run(m_plan);
    AfxAllowShutdown(this);
    m_bBusy = false;
    return m_nResult == kExitDone;
}

void Dlg_Setup::OnBrowse()
{
    if (m_bBusy || m_bChecking)
        return;
    UpdateData(TRUE);
    // A folder GBK cannot hold is no place to start from: the picker opens at the default.
    if (!PathToText(WindowTextW(GetDlgItem(IDC_INSTALL_PATH)), m_strInstallPath))
        m_strInstallPath = kDefaultInstallFolder;
    CPathDialog picker(Texts::kBrowseCaption, Texts::kBrowseCaption, m_strInstallPath, nullptr);
    if (picker.DoModal() == IDOK) {
        m_strInstallPath = picker.GetPathName();
        UpdateData(FALSE);
    }
    UpdateInstallButton();
}
