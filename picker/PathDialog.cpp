#include "picker/PathDialog.h"

#include <cstring>

#include "framework/Gdi.h"
#include "framework/StringW.h"
#include "picker/FolderPath.h"
#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/SystemLibrary.h"
#include "res/Texts.h"

namespace {

// Where the edit box goes: above the tree, as wide as it, 23 pixels high (at
// 96 DPI; the browser's font grows with the screen's scale, so does the box).
constexpr int kEditGapAboveTree = 4;
constexpr int kEditHeight = 23;

// The shell's functions come from shell32.dll loaded when the browser is first
// asked for: a start that loaded it (and what it pulls in) would show the dialog later.
template <typename Fn>
Fn Shell32(const char* pszFunction)
{
    return SystemFunctionAs<Fn>(L"shell32.dll", pszFunction);
}

// Releases the shell's allocator when it goes.
class ShellMalloc {
public:
    ShellMalloc()
    {
        const auto getMalloc = Shell32<decltype(&SHGetMalloc)>("SHGetMalloc");
        m_ok = getMalloc && SUCCEEDED(getMalloc(&m_p));
    }
    ~ShellMalloc()
    {
        if (m_p)
            m_p->Release();
    }
    bool ok() const { return m_ok && m_p; }
    void Free(void* pv) const { m_p->Free(pv); }

private:
    IMalloc* m_p = nullptr;
    bool m_ok = false;
};

} // namespace

BEGIN_MESSAGE_MAP(CPathDialogSub, CWnd)
    ON_BN_CLICKED(IDOK, OnBnClickedOk)
    ON_EN_CHANGE(IDC_FOLDER_EDIT, OnEnChangeFolderEdit)
END_MESSAGE_MAP()

CPathDialogSub::~CPathDialogSub() = default;

void CPathDialogSub::OnBnClickedOk()
{
    CPathDialog* picker = m_pPathDialog;
    // A folder GBK cannot hold is invalid here, said with the folder as typed
    // (never with a '?' in its place).
    const CStringW typed = WindowTextW(GetDlgItem(IDC_FOLDER_EDIT));
    CString text;
    if (!PathToText(typed, text)) {
        AfxMessageBox(CStringW::FormatText(Texts::kPickerInvalidFormat, typed.GetString()), MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_FOLDER_EDIT));
        return;
    }
    picker->ReadEditBox();
    if (ConfirmFolder(picker->m_szPath) != kFolderOk) {
        ::SetFocus(GetDlgItem(IDC_FOLDER_EDIT));
        return;
    }
    picker->m_bConfirmed = TRUE;
    ::EndDialog(picker->m_hBrowseWnd, IDOK);  // the shell's own OK does not run
}

void CPathDialogSub::OnEnChangeFolderEdit()
{
    CPathDialog* picker = m_pPathDialog;
    picker->ReadEditBox();
    picker->EnableOk(picker->m_szPath[0] != '\0');
}

CPathDialog::CPathDialog(const char* pszCaption, const char* pszPrompt,
                         const char* pszInitialFolder, CWnd* pParent)
    : m_pszCaption(pszCaption), m_pszInitialFolder(pszInitialFolder), m_szPath(),
      m_browseInfo(), m_hBrowseWnd(nullptr), m_pOwnerWnd(CWnd::GetSafeOwner(pParent, nullptr)),
      m_bConfirmed(FALSE)
{
    m_browseWnd.m_pPathDialog = this;
    m_browseInfo.hwndOwner = m_pOwnerWnd ? m_pOwnerWnd->GetSafeHwnd() : nullptr;
    m_browseInfo.pidlRoot = nullptr;
    m_browseInfo.pszDisplayName = nullptr;
    m_browseInfo.lpszTitle = pszPrompt;
    m_browseInfo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    m_browseInfo.lpfn = &CPathDialog::BrowseCallbackProc;
    m_browseInfo.lParam = 0;
    m_browseInfo.iImage = 0;
}

int CPathDialog::DoModal()
{
    m_browseInfo.lpfn = &CPathDialog::BrowseCallbackProc;
    m_browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    // The shell writes the display name into a buffer of this call only. The wide
    // function shows the prompt and any folder name right on every code page.
    wchar_t szDisplayName[260] = {};
    const CStringW prompt = CStringW::FromText(m_browseInfo.lpszTitle);
    BROWSEINFOW request = {};
    request.hwndOwner = m_browseInfo.hwndOwner;
    request.pidlRoot = m_browseInfo.pidlRoot;
    request.pszDisplayName = szDisplayName;
    request.lpszTitle = m_browseInfo.lpszTitle ? prompt.GetString() : nullptr;
    request.ulFlags = m_browseInfo.ulFlags;
    request.lpfn = m_browseInfo.lpfn;
    request.lParam = m_browseInfo.lParam;

    // COM for this thread while the browser shows (folders that COM provides:
    // portable devices, network, cloud); started here, not before the dialog.
    const ScopedOle ole;
    ShellMalloc malloc;
    if (!malloc.ok())
        return -1;
    m_bConfirmed = FALSE;
    const auto browse = Shell32<decltype(&SHBrowseForFolderW)>("SHBrowseForFolderW");
    if (!browse)
        return -1;
    LPITEMIDLIST pidl = browse(&request);
    if (pidl)
        malloc.Free(pidl);
    m_hBrowseWnd = nullptr;
    return m_bConfirmed ? IDOK : -1;
}

CString CPathDialog::GetPathName() const
{
    return CString(m_szPath);
}

int CALLBACK CPathDialog::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM pData)
{
    CPathDialog* self = reinterpret_cast<CPathDialog*>(pData);
    if (uMsg == BFFM_INITIALIZED)
        self->OnInitialized(hWnd);
    else if (uMsg == BFFM_SELCHANGED)
        self->OnSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
    return 0;
}

void CPathDialog::OnInitialized(HWND hWnd)
{
    m_hBrowseWnd = hWnd;
    if (m_pszCaption)
        SetWindowTextW(hWnd, CStringW::FromText(m_pszCaption).GetString());
    m_browseWnd.SubclassWindow(hWnd);
    ShowWindow(GetDlgItem(hWnd, IDC_BROWSE_STATUS), SW_HIDE);

    RECT tree;
    GetWindowRect(GetDlgItem(hWnd, IDC_BROWSE_TREE), &tree);
    const int gap = ScaleToScreen(kEditGapAboveTree);
    POINT topLeft = {tree.left, tree.top - gap - ScaleToScreen(kEditHeight)};
    POINT bottomRight = {tree.right, tree.top - gap};
    ScreenToClient(hWnd, &topLeft);
    ScreenToClient(hWnd, &bottomRight);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, topLeft.x,
                                topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y,
                                hWnd, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(edit, GWLP_ID, IDC_FOLDER_EDIT);
    ShowWindow(edit, SW_SHOW);
    SendMessageA(edit, WM_SETFONT, SendMessageA(hWnd, WM_GETFONT, 0, 0), TRUE);

    const CStringW wideInitial =
        m_pszInitialFolder ? CStringW::FromText(m_pszInitialFolder) : Files::CurrentFolderW();
    SendMessageW(hWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wideInitial.GetString()));
    // A folder the tree cannot select (typically the default folder, which does
    // not exist yet) still shows in the box, so the user need not type it again.
    if (GetWindowTextLengthW(edit) == 0)
        SetWindowTextW(edit, wideInitial.GetString());
}

void CPathDialog::OnSelectionChanged(LPCITEMIDLIST pidl) const
{
    wchar_t szPath[260] = {};
    const auto pathOf = Shell32<decltype(&SHGetPathFromIDListW)>("SHGetPathFromIDListW");
    if (!pathOf || !pathOf(pidl, szPath) || szPath[1] != L':') {
        // Network locations and virtual folders have no drive-letter path.
        szPath[0] = L'\0';
        EnableOk(FALSE);
    } else {
        EnableOk(TRUE);
    }
    HWND edit = GetDlgItem(m_hBrowseWnd, IDC_FOLDER_EDIT);
    if (edit)
        SetWindowTextW(edit, szPath);
}

void CPathDialog::ReadEditBox()
{
    std::memset(m_szPath, 0, sizeof m_szPath);
    wchar_t typed[sizeof m_szPath] = {};
    GetWindowTextW(GetDlgItem(m_hBrowseWnd, IDC_FOLDER_EDIT), typed, static_cast<int>(sizeof m_szPath));
    // In the program's code page, never past the buffer (a longer path is cut at a
    // character and then fails the folder check as too long a path would).
    const CString path = CString::FromWide(typed);
    int n = 0;
    while (n < path.GetLength() && n + path.CharLength(n) < static_cast<int>(sizeof m_szPath))
        n += path.CharLength(n);
    std::memcpy(m_szPath, path.GetString(), static_cast<size_t>(n));
}

void CPathDialog::EnableOk(BOOL bEnable) const
{
    SendMessageA(m_hBrowseWnd, BFFM_ENABLEOK, 0, bEnable);
}
