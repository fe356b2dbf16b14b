// How a long operation (an install, a removal) tells, asks and shows progress
// without knowing who is there: a dialog answers with message boxes, a run with
// nobody at the keyboard with its log and the answer such a run must give.
// Texts are wide, so that a path of any language reaches the screen and the log
// whole; the program's own texts (GBK) are converted on the way.
#pragma once

#include <windows.h>

#include "framework/StringW.h"

class CWnd;

class Reporter {
public:
    virtual ~Reporter() = default;

    // A line for the record of the run (the log); nothing is shown.
    virtual void Note(const CStringW& strLine) = 0;
    // A message the user reads and confirms.
    virtual void Tell(const CStringW& strText, const char* pszCaption) = 0;
    // A question with the buttons of nType (MB_ABORTRETRYIGNORE, ...); nUnattended
    // is the answer when nobody can be asked. Returns the button's ID.
    virtual int Ask(const CStringW& strText, const char* pszCaption, UINT nType, int nUnattended) = 0;
    // The work ahead is nSteps steps; each Step is one of them.
    virtual void BeginProgress(int nSteps) = 0;
    virtual void Step() = 0;
    // All steps done (also when some were passed over).
    virtual void FinishProgress() = 0;

    // The same for the program's own texts (GBK).
    void Note(const char* pszLine) { Note(CStringW::FromText(pszLine)); }
    void Tell(const char* pszText, const char* pszCaption) { Tell(CStringW::FromText(pszText), pszCaption); }
};

// The interactive face: message boxes owned by a window, a progress control.
class WindowReporter : public Reporter {
public:
    // pOwner NULL: the boxes are owned by the application's main window (if any).
    // pProgress NULL: no progress is shown.
    WindowReporter(CWnd* pOwner, CWnd* pProgress);

    using Reporter::Note;
    using Reporter::Tell;
    void Note(const CStringW&) override {}
    void Tell(const CStringW& strText, const char* pszCaption) override;
    int Ask(const CStringW& strText, const char* pszCaption, UINT nType, int nUnattended) override;
    void BeginProgress(int nSteps) override;
    void Step() override;
    void FinishProgress() override;

private:
    CWnd* Owner() const;
    static constexpr DWORD kRefreshMs = 50;
    CWnd* m_pOwner;
    CWnd* m_pProgress;
    int m_nDone = 0;
    DWORD m_dwShown = 0;  // tick of the last paint and message handling
};
