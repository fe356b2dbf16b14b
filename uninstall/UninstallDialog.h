// The uninstaller's one dialog: what will be removed, and 卸载 / 取消.
#pragma once

#include "acad/Removal.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "sequence/ExitCodes.h"

class LogFile;
class RemovalSequence;

class Dlg_Uninstall : public CDialog {
public:
    // removal (prepared: its folder and plan) must outlive the dialog.
    explicit Dlg_Uninstall(const RemovalSequence& removal);

    // Also writes the checks into the open log (NULL: none), and has the copy
    // continue that very file; it must outlive the dialog.
    void SetLog(LogFile* pLog) { m_pLog = pLog; }
    // kExitDone once the removal was handed over; else kExitCancelled (closed).
    int Result() const { return m_nResult; }

    CBrush m_brBackground;
    CFont m_fontHeading;
    CBitmap m_bmpLogo;  // at the screen's scale, kept while the dialog lives

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnUninstall();
    // Enter outside a push button does nothing: only 卸载 removes.
    void OnEnterKey();
    DECLARE_MESSAGE_MAP()

private:
    const RemovalSequence& m_removal;
    LogFile* m_pLog = nullptr;
    int m_nResult = kExitCancelled;
};

// The plan as the lines the dialog shows ("\r\n" between them).
CString DescribeRemovalPlan(const CRemovalPlan& plan, const CString& strFolder);
