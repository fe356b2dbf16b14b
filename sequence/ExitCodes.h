// What a run of SetUp.exe or Uninstall.exe ended with: its exit code, for either
// face (the dialog or the unattended run). The README's table is this one.
// Where deployment tools have a convention (Windows Installer's codes, which
// Intune and ConfigMgr read), the code is theirs.
#pragma once

enum ExitCode {
    kExitDone = 0,              // installed / removed
    kExitBadCommandLine = 1,    // command line not understood
    kExitNothingDone = 2,       // no release found or ticked
    kExitAcadRunning = 3,       // the checks' answer; an unattended run exits kExitBusy
    kExitFolderRefused = 4,
    kExitNeedAdmin = 5,
    kExitPayloadMissing = 6,
    kExitCopyAborted = 7,       // a payload file could not be copied (Abort)
    kExitWriteFailed = 8,       // something could not be written / removed
    kExitNotInstallFolder = 9,  // Uninstall.exe not started from an install folder
    kExitPayloadChanged = 10,   // a file of Data is missing or not as packaged (the program's list)
    kExitCancelled = 1602,      // the user cancelled the dialog (ERROR_INSTALL_USEREXIT)
    kExitBusy = 1618,           // try again later: AutoCAD runs (ERROR_INSTALL_ALREADY_RUNNING,
                                // which Intune and ConfigMgr retry by themselves)
};
