#include "uninstall/RemovalRun.h"

#include "acad/Removal.h"
#include "deploy/FolderRemoval.h"
#include "framework/Window.h"
#include "platform/Files.h"
#include "res/Texts.h"

namespace {

// How long the copy waits for the installed program to end.
constexpr unsigned long kWaitMs = 30000;
// Lines of the final message: enough to act on, never a wall of text.
constexpr int kMaxLeftoversShown = 10;
// The install folder's own name: the setup always installs into ...\Q-Ostrevo.
const char kInstallFolderName[] = "Q-Ostrevo";

} // namespace

bool IsInstallFolder(const CString& strFolder)
{
    const int cut = strFolder.ReverseFind('\\');
    return cut > 0 && strFolder.Mid(cut + 1).CompareNoCase(kInstallFolderName) == 0;
}

bool HandOverRemoval(const CString& strFolder, CString& strCopy)
{
    strCopy.Format("%s\\Q-Ostrevo-Uninstall-%lu.exe", Files::TempFolder().GetString(),
                   static_cast<unsigned long>(Processes::CurrentId()));
    if (!Files::CopyOverwrite(Files::ModulePath(), strCopy))
        return false;
    CString commandLine;
    commandLine.Format("\"%s\" %s %lu \"%s\"", strCopy.GetString(), kRemoveSwitch,
                       static_cast<unsigned long>(Processes::CurrentId()), strFolder.GetString());
    if (Processes::Start(strCopy, commandLine))
        return true;
    Files::Delete(strCopy);
    return false;
}

void RunRemoval(const CString& strFolder, unsigned long nWaitFor)
{
    if (!IsInstallFolder(strFolder))
        return;
    Processes::WaitForEnd(nWaitFor, kWaitMs);
    theAcadRegistry.FindAcadReleases();
    CRemovalPlan plan;
    PlanRemoval(theAcadRegistry, strFolder, plan);
    CStringArray leftovers;
    RemoveFromAcad(plan, strFolder, leftovers);
    RemoveInstallFolder(strFolder, leftovers);

    if (leftovers.IsEmpty()) {
        ShowMessageBox(nullptr, Texts::kUninstallDone, Texts::kCaptionUninstallDone, MB_OK);
    } else {
        CString text;
        text.Format(Texts::kUninstallLeftoversFormat, leftovers.JoinLines(kMaxLeftoversShown).GetString());
        ShowMessageBox(nullptr, text, Texts::kCaptionUninstall, MB_OK);
    }
    // This copy in the temporary folder goes when Windows next starts.
    Files::DeleteAtRestart(Files::ModulePath());
}
