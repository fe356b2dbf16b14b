#include "framework/Reporter.h"

#include <commctrl.h>

#include "framework/Window.h"

WindowReporter::WindowReporter(CWnd* pOwner, CWnd* pProgress)
    : m_pOwner(pOwner), m_pProgress(pProgress)
{
}

CWnd* WindowReporter::Owner() const
{
    return m_pOwner ? m_pOwner : AfxGetMainWnd();
}

void WindowReporter::Tell(const CStringW& strText, const char* pszCaption)
{
    ShowMessageBox(Owner(), strText, pszCaption, MB_OK);
}

int WindowReporter::Ask(const CStringW& strText, const char* pszCaption, UINT nType, int nUnattended)
{
    const int answer = ShowMessageBox(Owner(), strText, pszCaption, nType);
    // A box that could not be shown gets the answer nobody at the keyboard gets.
    return answer == 0 ? nUnattended : answer;
}

void WindowReporter::BeginProgress(int nSteps)
{
    m_nDone = 0;
    if (!m_pProgress || !m_pProgress->GetSafeHwnd())
        return;
    m_pProgress->SendMessage(PBM_SETRANGE32, 0, nSteps);
    m_pProgress->SendMessage(PBM_SETPOS, 0);
}

void WindowReporter::Step()
{
    ++m_nDone;
    // A progress bar repaints at once on every change of position, which costs
    // more than copying a small file: the bar shows the steps done, and pending
    // messages are handled, at most every kRefreshMs.
    const DWORD now = ::GetTickCount();
    if (now - m_dwShown < kRefreshMs)
        return;
    m_dwShown = now;
    if (m_pProgress && m_pProgress->GetSafeHwnd())
        m_pProgress->SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nDone));
    // Between two steps the window answers (paints, moves): Windows would grey a
    // window that handles nothing for five seconds as not responding.
    if (m_pOwner)
        AfxPumpMessages(m_pOwner);
}

void WindowReporter::FinishProgress()
{
    if (!m_pProgress || !m_pProgress->GetSafeHwnd())
        return;
    const LRESULT top = m_pProgress->SendMessage(PBM_GETRANGE, FALSE, 0);
    m_pProgress->SendMessage(PBM_SETPOS, static_cast<WPARAM>(top));
}
