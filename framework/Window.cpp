#include "framework/Window.h"

#include <cstdlib>

#include "framework/Gdi.h"
#include "framework/StringW.h"


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
    // A wide procedure: texts pass through it unconverted, whatever the code page.
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return m_pfnSuper != nullptr;
}

HWND CWnd::UnsubclassWindow()
{
    HWND h = m_hWnd;
    if (h && m_pfnSuper && IsWindow(h)) {
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
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
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (msg != WM_NCDESTROY && self->OnWndMsg(msg, wParam, lParam, &result))
        return result;
    WNDPROC super = self->m_pfnSuper;
    if (msg == WM_NCDESTROY)
        self->UnsubclassWindow();  // the window goes; let go of it
    return CallWindowProcW(super, hWnd, msg, wParam, lParam);
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_vv, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

bool IsCtlColor(UINT msg)
{
    return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
}

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT msg, UINT code, UINT id)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage; ++e) {
            if (e->nMessage == msg && (msg != WM_COMMAND || (e->nCode == code && e->nID == id)))
                return e;
        }
    }
    return nullptr;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const CurrentMsg saved = m_current;
    m_current = {msg, wParam, lParam};
    BOOL handled = FALSE;
    if (msg == WM_COMMAND) {
        if (const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), WM_COMMAND, HIWORD(wParam), LOWORD(wParam))) {
            (this->*(e->pfn))();
            *pResult = 0;
            handled = TRUE;
        }
    } else if (IsCtlColor(msg)) {
        if (const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), WM_CTLCOLOR_ALL, 0, 0)) {
            CDC dc(reinterpret_cast<HDC>(wParam));
            CWnd control;
            control.Attach(reinterpret_cast<HWND>(lParam));
            const UINT kind = msg - WM_CTLCOLORMSGBOX;  // CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC
            *pResult = reinterpret_cast<LRESULT>((this->*(e->pfnCtlColor))(&dc, &control, kind));
            control.Detach();
            handled = TRUE;
        }
    }
    m_current = saved;
    return handled;
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return reinterpret_cast<HBRUSH>(
        DefWindowProcA(m_hWnd, m_current.msg, m_current.wParam, m_current.lParam));
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

BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
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
    // The program's GBK text shown through the wide function: right on any code page.
    ::SetWindowTextW(GetSafeHwnd(), CStringW::FromText(psz).GetString());
}

CStringW WindowTextW(HWND hWnd)
{
    const int n = ::GetWindowTextLengthW(hWnd);
    wchar_t* buf = static_cast<wchar_t*>(calloc(static_cast<size_t>(n) + 2, sizeof(wchar_t)));
    if (!buf)
        return CStringW();
    const int got = ::GetWindowTextW(hWnd, buf, n + 2);
    const CStringW text(buf, got);
    free(buf);
    return text;
}

CString CWnd::GetWindowText() const
{
    const CStringW text = WindowTextW(GetSafeHwnd());
    return CString::FromWide(text.GetString(), text.GetLength());
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

void AfxPumpMessages(CWnd* pDialog)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
            return;
        }
        if (pDialog && pDialog->GetSafeHwnd() && ::IsDialogMessageA(pDialog->GetSafeHwnd(), &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void AfxBlockShutdown(CWnd* pWnd, const CStringW& strReason)
{
    if (pWnd && pWnd->GetSafeHwnd())
        ::ShutdownBlockReasonCreate(pWnd->GetSafeHwnd(), strReason.GetString());
}

void AfxAllowShutdown(CWnd* pWnd)
{
    if (pWnd && pWnd->GetSafeHwnd())
        ::ShutdownBlockReasonDestroy(pWnd->GetSafeHwnd());
}

int ShowMessageBox(CWnd* pOwner, const CStringW& strText, const char* pszCaption, UINT nType)
{
    // Through the wide function: the texts read right on a Windows of any code page.
    return ::MessageBoxW(pOwner ? pOwner->GetSafeHwnd() : nullptr, strText.GetString(),
                         CStringW::FromText(pszCaption).GetString(), nType);
}

int AfxMessageBox(const char* pszText, UINT nType)
{
    return AfxMessageBox(CStringW::FromText(pszText), nType);
}

int AfxMessageBox(const CStringW& strText, UINT nType)
{
    // Owned by the window the user works in: the main window's last active popup
    // (a folder browser it opened, say), which the box then disables.
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? ::GetLastActivePopup(main->GetSafeHwnd()) : nullptr;
    return ::MessageBoxW(owner, strText.GetString(), CStringW::FromText(AfxGetAppName()).GetString(), nType);
}
