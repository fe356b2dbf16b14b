// The uninstaller's temporary copy, as one unit: a running program cannot delete
// its own file, so Uninstall.exe hands its last steps to a copy of itself in a
// folder of its own below the temporary folder. Here the copy is started, its
// command line written and read, and its run waits for the uninstaller and
// forgets the copy afterwards.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/WinResult.h"

// What the copy is to do once the uninstaller that started it has ended.
enum CopyTask {
    kCopyRemoves,    // the whole removal (after the dialog's Uninstall)
    kCopyCleansUp,   // only the uninstaller's file and the emptied folders (after /S)
};

// The copy's command line, read: "<copy> /remove|/cleanup <pid> <id> "<folder>" ["<log>" <log id>]".
struct CopyOrder {
    CopyTask task = kCopyRemoves;
    unsigned long nUninstaller = 0;  // the process that started the copy
    CStringW strIdentity;            // the uninstaller's file as it ran (Files::FileIdentity)
    CString strFolder;               // the install folder (GBK holds it: the setup made it)
    CStringW strLog;                 // the log to continue (kCopyRemoves), or empty
    CStringW strLogIdentity;         // that log as the uninstaller had it open (Files::IdentityOf)
};

// Starts the copy for the install folder, holding this run's single-run name,
// with this process as the one to wait for. On failure the copy's path is in strCopy.
// strLog, when not empty, is the log this run holds open; the copy continues
// that very file (strLogIdentity), never another one put under its name since.
WinResult StartTemporaryCopy(CopyTask task, const CString& strFolder, const CStringW& strLog,
                             const CStringW& strLogIdentity, CStringW& strCopy);
// The order in the words of this program's command line (program name first);
// false when they are not a copy's. An order whose folder GBK cannot hold names
// no folder (strFolder empty).
bool ReadCopyOrder(const CStringArrayW& args, CopyOrder& order);

// In the copy, for the life of the object: constructed, it waits until the
// uninstaller has ended (its file and folder are free then; not for a folder
// that is no install folder, where nothing is done); destroyed, it has the copy's
// own file and folder deleted when Windows next starts, whatever the run did.
class CopyRun {
public:
    explicit CopyRun(const CopyOrder& order);
    ~CopyRun();
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;
};
