// The application object: one per program, constructed statically; the entry
// point calls its InitInstance and ends the program when that returns FALSE.
#pragma once

#include "framework/Window.h"

class CWinApp {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // Runs the application: InitInstance, and nothing more when it returns FALSE.
    int Run();

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName;
    // What the program returns to whoever started it.
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
// Control-container support: nothing to set up in this framework.
inline void AfxEnableControlContainer() {}
