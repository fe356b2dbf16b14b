#include "framework/Window.h"

#include <vector>

namespace {
CWnd* g_pMainWnd = nullptr;
const char* g_pszAppName = "";
const char kWrapperProp[] = "TrabexCWnd";
}

CWnd::~CWnd()
{
    if (m_pfnSuper)
        UnsubclassWindow();
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_pfnSuper)
        return FALSE;
    m_hWnd = hWnd;
    SetPropA(hWnd, kWrapperProp, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return m_pfnSuper != nullptr;
}

HWND CWnd::UnsubclassWindow()
{
    HWND h = m_hWnd;
    if (h && m_pfnSuper && IsWindow(h)) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        RemovePropA(h, kWrapperProp);
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return h;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = static_cast<CWnd*>(GetPropA(hWnd, kWrapperProp));
    if (!self)
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (msg != WM_NCDESTROY && self->OnWndMsg(msg, wParam, lParam, &result))
        return result;
    WNDPROC super = self->m_pfnSuper;
    if (msg == WM_NCDESTROY)
        self->UnsubclassWindow();  // the window goes; let go of it
    return CallWindowProcA(super, hWnd, msg, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(GetSafeHwnd(), msg, wParam, lParam);
}

BOOL CWnd::ShowWindow(int nCmdShow) const
{
    return ::ShowWindow(GetSafeHwnd(), nCmdShow);
}

BOOL CWnd::EnableWindow(BOOL bEnable) const
{
    return ::EnableWindow(GetSafeHwnd(), bEnable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(GetSafeHwnd());
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(GetSafeHwnd());
}

void CWnd::SetWindowText(const char* psz) const
{
    ::SetWindowTextA(GetSafeHwnd(), psz);
}

CString CWnd::GetWindowText() const
{
    const int n = ::GetWindowTextLengthA(GetSafeHwnd());
    std::vector<char> buf(static_cast<size_t>(n) + 2, '\0');
    ::GetWindowTextA(GetSafeHwnd(), buf.data(), n + 1);
    return CString(buf.data());
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(GetSafeHwnd());
}

HWND CWnd::GetDlgItem(int nID) const
{
    return ::GetDlgItem(GetSafeHwnd(), nID);
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    if (pWndTop)
        *pWndTop = nullptr;
    return pParent ? pParent : AfxGetMainWnd();
}

CWnd* AfxGetMainWnd()
{
    return g_pMainWnd;
}

void AfxSetMainWnd(CWnd* pWnd)
{
    g_pMainWnd = pWnd;
}

const char* AfxGetAppName()
{
    return g_pszAppName;
}

void AfxSetAppName(const char* pszName)
{
    g_pszAppName = pszName ? pszName : "";
}

int ShowMessageBox(CWnd* pOwner, const char* pszText, const char* pszCaption, UINT nType)
{
    return ::MessageBoxA(pOwner ? pOwner->GetSafeHwnd() : nullptr, pszText, pszCaption, nType);
}

int AfxMessageBox(const char* pszText, UINT nType)
{
    return ShowMessageBox(AfxGetMainWnd(), pszText, AfxGetAppName(), nType);
}
