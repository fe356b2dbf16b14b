#include "app/WizardApp.h"

#include "acad/AcadRegistry.h"
#include "ui/SetupDialog.h"

CWizardApp theApp;

CWizardApp::CWizardApp()
    : CWinApp(nullptr)
{
}

BOOL CWizardApp::InitInstance()
{
    AfxEnableControlContainer();
    theAcadRegistry.FindAcadReleases();
    Dlg_Setup dlg(nullptr);
    dlg.DoModal();
    return FALSE;
}
