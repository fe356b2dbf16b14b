// Window wrapper and message boxes of the framework stand-in.
#pragma once

#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/String.h"
#include "framework/StringW.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // Binds the wrapper to an existing window without changing how it behaves.
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();

    // Routes the window's messages through OnWndMsg until the window is destroyed.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Queued for the window's thread; handled after what is queued already.
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int nCmdShow) const;
    BOOL EnableWindow(BOOL bEnable = TRUE) const;
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    void SetWindowText(const char* psz) const;
    CString GetWindowText() const;
    int GetDlgCtrlID() const;
    HWND GetDlgItem(int nID) const;

    // The owner for a modal window: the given parent, else the application's main window.
    static CWnd* GetSafeOwner(CWnd* pParent, HWND* pWndTop);

    HWND m_hWnd = nullptr;

    // Default colour handling: the system's colours and brush for the control.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Message-map dispatch: return TRUE with *pResult set when handled.
    virtual BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The window procedure the window had before it was subclassed.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // The message being dispatched, for Default().
    struct CurrentMsg {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMsg m_current = {0, 0, 0};

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    WNDPROC m_pfnSuper = nullptr;
};

// A window's text as Windows holds it (every character of any language).
CStringW WindowTextW(HWND hWnd);

// The application's main window: the running setup dialog, or NULL.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* pWnd);
// The application's title, the caption of framework message boxes.
const char* AfxGetAppName();
void AfxSetAppName(const char* pszName);

// Handles the messages waiting for this thread (pDialog's keyboard navigation
// included) and returns: a long job on the window's own thread stays responsive.
void AfxPumpMessages(CWnd* pDialog);

// While a job that must not be cut runs in the window: Windows asks before
// ending the session and shows the reason (the window answers the query itself).
void AfxBlockShutdown(CWnd* pWnd, const CStringW& strReason);
void AfxAllowShutdown(CWnd* pWnd);

// A message box owned by pOwner's window (no owner when NULL); the text wide (a
// path of any language in it).
int ShowMessageBox(CWnd* pOwner, const CStringW& strText, const char* pszCaption, UINT nType);
// A message box owned by the main window's last active popup (the window in use),
// with the application's title as caption.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK);
int AfxMessageBox(const CStringW& strText, UINT nType = MB_OK);
