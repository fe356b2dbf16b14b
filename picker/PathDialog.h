// A modal folder chooser on the shell's folder browser, with an edit box above
// the tree for typing a path; OK checks the path and offers to create it.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "framework/Window.h"

// The edit box the picker adds to the shell dialog.
constexpr int IDC_FOLDER_EDIT = 14148;
// Controls of the shell's folder browser.
constexpr int IDC_BROWSE_TREE = 14145;
constexpr int IDC_BROWSE_STATUS = 14147;

class CPathDialog;

// Subclasses the shell dialog while it is open: its OK button and the edit box's
// notifications come here.
class CPathDialogSub : public CWnd {
public:
    ~CPathDialogSub() override;
    CPathDialog* m_pPathDialog = nullptr;

protected:
    void OnBnClickedOk();
    void OnEnChangeFolderEdit();
    DECLARE_MESSAGE_MAP()
};

class CPathDialog {
public:
    // The caption, prompt and initial folder are kept as pointers: they must
    // outlive DoModal. NULL caption keeps the shell's; NULL folder means the
    // current directory.
    CPathDialog(const char* pszCaption, const char* pszPrompt, const char* pszInitialFolder,
                CWnd* pParent);
    virtual ~CPathDialog() = default;

    // IDOK when a folder was accepted; -1 otherwise (never IDCANCEL).
    virtual int DoModal();
    CString GetPathName() const;

    static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM pData);

    const char* m_pszCaption;
    const char* m_pszInitialFolder;
    char m_szPath[260];
    BROWSEINFOA m_browseInfo;
    HWND m_hBrowseWnd;
    CWnd* m_pOwnerWnd;
    BOOL m_bConfirmed;
    CPathDialogSub m_browseWnd;

    friend class CPathDialogSub;

private:
    void OnInitialized(HWND hWnd);
    void OnSelectionChanged(LPCITEMIDLIST pidl) const;
    void ReadEditBox();
    void EnableOk(BOOL bEnable) const;
};
