#include "app/UninstallApp.h"

#include <stdlib.h>

#include "acad/Removal.h"
#include "deploy/FolderRemoval.h"
#include "platform/Files.h"
#include "res/Texts.h"
#include "uninstall/RemovalRun.h"
#include "uninstall/UninstallDialog.h"

CUninstallApp theApp;

CUninstallApp::CUninstallApp()
    : CWinApp(nullptr)
{
}

BOOL CUninstallApp::InitInstance()
{
    if (__argc == 4 && CString(__argv[1]) == kRemoveSwitch) {
        RunRemoval(__argv[3], strtoul(__argv[2], nullptr, 10));
        return FALSE;
    }

    const CString module = Files::ModulePath();
    const int cut = module.ReverseFind('\\');
    const CString folder = module.Left(cut);
    const CString exeName = module.Mid(cut + 1);
    CString text;
    // Anywhere else (the distribution's Data folder, say) nothing is ours to delete.
    if (!IsInstallFolder(folder)) {
        text.Format(Texts::kUninstallNotInstallFolderFormat, folder.GetString());
        ShowMessageBox(nullptr, text, Texts::kCaptionUninstall, MB_OK);
        return FALSE;
    }
    theAcadRegistry.FindAcadReleases();
    CRemovalPlan plan;
    PlanRemoval(theAcadRegistry, folder, plan);
    if (plan.IsEmpty() && !FolderHoldsMoreThan(folder, exeName)) {
        text.Format(Texts::kUninstallNothingFormat, folder.GetString());
        ShowMessageBox(nullptr, text, Texts::kCaptionUninstall, MB_OK);
        return FALSE;
    }
    Dlg_Uninstall dlg(plan, folder);
    dlg.DoModal();
    return FALSE;
}
