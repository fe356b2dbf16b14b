#include "sequence/TemporaryCopy.h"

#include <wchar.h>

#include "deploy/InstallLayout.h"
#include "platform/Files.h"
#include "platform/FolderSecurity.h"
#include "platform/Processes.h"
#include "platform/SingleInstance.h"

namespace {

// The copy's switches, by task (the table is the order of CopyTask).
const char* const kTaskSwitches[] = {"/remove", "/cleanup"};
// The copy's folder: Administrators and SYSTEM, nobody else, nothing inherited.
constexpr wchar_t kCopyFolderSddl[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
// How long the copy waits for the uninstaller that started it to end.
constexpr unsigned long kWaitForUninstallerMs = 60000;

} // namespace

WinResult StartTemporaryCopy(CopyTask task, const CString& strFolder, const CStringW& strLog,
                             const CStringW& strLogIdentity, CStringW& strCopy)
{
    // A folder of its own for the copy, made for this run with a name no one can
    // guess and a list that only administrators and SYSTEM may write (nothing
    // inherited from a temporary folder the unelevated account, or under SYSTEM
    // every user, may write): nothing can be put beside or in place of a program
    // that runs elevated. Wide all the way: the temporary folder may lie below a
    // user name of any language.
    const CStringW folder = Files::TempFolderW() + L"\\Q-Ostrevo-Uninstall-" + Files::UnpredictableName();
    strCopy = folder + L"\\" + CStringW::FromText(kUninstallerName);
    // Made and opened in one step, and held until the copy runs: the unelevated
    // half of the account may rename what lies in its temporary folder, and must
    // not swap this folder for one of its own between the making and the start.
    WinResult result;
    ScopedHandle heldFolder = FolderSecurity::CreateHeld(folder, kCopyFolderSddl, result);
    if (!result)
        return result;
    result = Files::CopyOverwrite(Files::ModulePathW(), strCopy);
    // Held against writers until the copy runs (Windows then holds its image).
    const ScopedHandle held = result ? Files::OpenAgainstWriters(strCopy) : ScopedHandle();
    if (result && !held.IsValid())
        result = WinResult::FromLastError(false);
    if (result) {
        CStringW commandLine = CStringW::FormatText("\"%s\" %s %lu %s \"%s\"", strCopy.GetString(),
                                                    CStringW::FromText(kTaskSwitches[task]).GetString(),
                                                    static_cast<unsigned long>(Processes::CurrentId()),
                                                    Files::FileIdentity(Files::ModulePathW()).GetString(),
                                                    CStringW::FromText(strFolder).GetString());
        if (!strLog.IsEmpty())
            commandLine += L" \"" + strLog + L"\" " + strLogIdentity;
        // Its own folder as working folder: a process whose current folder is the
        // install folder keeps Windows from removing it. It holds this run's
        // single-run name until it ends, so no setup starts between the two.
        result = Processes::StartHolding(strCopy, commandLine, folder, SingleInstance::Held());
        if (result)
            return result;
    }
    Files::Delete(strCopy);
    heldFolder.Close();
    Files::RemoveFolder(folder);
    return result;
}

bool ReadCopyOrder(const CStringArrayW& args, CopyOrder& order)
{
    const int argc = args.GetSize();
    if (argc < 5)
        return false;
    if (args[1] == CStringW::FromText(kTaskSwitches[kCopyRemoves]) && argc != 6 && argc <= 7)
        order.task = kCopyRemoves;
    else if (args[1] == CStringW::FromText(kTaskSwitches[kCopyCleansUp]) && argc == 5)
        order.task = kCopyCleansUp;
    else
        return false;
    order.nUninstaller = wcstoul(args[2].GetString(), nullptr, 10);
    order.strIdentity = args[3];
    if (!PathToText(args[4], order.strFolder))
        order.strFolder.Empty();
    order.strLog = argc == 7 ? args[5] : CStringW();
    order.strLogIdentity = argc == 7 ? args[6] : CStringW();
    return true;
}

CopyRun::CopyRun(const CopyOrder& order)
{
    // Nothing is touched before the installed program has ended.
    if (IsInstallFolder(order.strFolder))
        Processes::WaitForEnd(order.nUninstaller, kWaitForUninstallerMs);
}

CopyRun::~CopyRun()
{
    const CStringW copy = Files::ModulePathW();
    Files::DeleteAtRestart(copy);
    Files::DeleteAtRestart(copy.Left(copy.ReverseFind(L'\\')));
}
