#include "framework/App.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp(const char* pszAppName)
    : m_pszAppName(pszAppName)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return FALSE;
}

int CWinApp::Run()
{
    m_hInstance = GetModuleHandleA(nullptr);
    if (!m_pszAppName) {
        // Like MFC: the program's file name without its extension.
        static char name[MAX_PATH];
        GetModuleFileNameA(nullptr, name, sizeof name);
        char* base = name;
        for (char* p = name; *p; ++p)
            if (*p == '\\')
                base = p + 1;
        for (char* p = base; *p; ++p)
            if (*p == '.')
                *p = '\0';
        m_pszAppName = base;
    }
    AfxSetAppName(m_pszAppName);
    InitInstance();  // no message loop of the application's own: the dialog ends the program
    return m_nExitCode;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}
