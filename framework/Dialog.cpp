#include "framework/Dialog.h"

#include <commctrl.h>

namespace {

// The template's progress bar needs its window class before the first dialog.
void RegisterCommonControls()
{
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd)
        rControl.Attach(pDX->m_pDlgWnd->GetDlgItem(nIDC));
}

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value)
{
    HWND hDlg = pDX->m_pDlgWnd->GetSafeHwnd();
    if (pDX->m_bSaveAndValidate)
        value = IsDlgButtonChecked(hDlg, nIDC) == BST_CHECKED;
    else
        CheckDlgButton(hDlg, nIDC, value ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd control;
    control.Attach(pDX->m_pDlgWnd->GetDlgItem(nIDC));
    if (pDX->m_bSaveAndValidate)
        value = control.GetWindowText();
    else
        control.SetWindowText(value);
    control.Detach();
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && !m_bModal && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    if (AfxGetMainWnd() == this)
        AfxSetMainWnd(nullptr);
}

INT_PTR CDialog::DoModal()
{
    RegisterCommonControls();
    CWnd* owner = GetSafeOwner(m_pParentWnd, nullptr);
    // While it runs, the dialog is the application's main window (message-box owner).
    CWnd* previousMain = AfxGetMainWnd();
    if (!previousMain)
        AfxSetMainWnd(this);
    m_bModal = true;
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                        owner ? owner->GetSafeHwnd() : nullptr, &CDialog::DialogProc,
                        reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    m_hWnd = nullptr;
    AfxSetMainWnd(previousMain);
    return result;
}

BOOL CDialog::Create(CWnd* pParentWnd)
{
    RegisterCommonControls();
    m_bModal = false;
    HWND h = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                                pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr,
                                &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (h && !AfxGetMainWnd())
        AfxSetMainWnd(this);
    return h != nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        self->m_hWnd = hDlg;
        return self->OnInitDialog();
    }
    self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (!self)
        return FALSE;
    LRESULT result = 0;
    if (!self->OnWndMsg(msg, wParam, lParam, &result))
        return FALSE;
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
        return static_cast<INT_PTR>(result);  // the brush
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL CDialog::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnWndMsg(msg, wParam, lParam, pResult))
        return TRUE;
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // The framework's own routing of the two standard buttons.
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    if (msg == WM_DESTROY && !m_bModal && AfxGetMainWnd() == this)
        AfxSetMainWnd(nullptr);
    return FALSE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nEndResult = nResult;
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        ::ShowWindow(m_hWnd, SW_HIDE);  // a modeless (test) dialog just hides
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
