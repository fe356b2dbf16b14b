// The per-user program: it puts the install folder into (or takes it out of)
// TRUSTEDPATHS in every AutoCAD profile of the user who runs it, and nothing
// else. It asks for no rights (asInvoker), so that Windows can run it with each
// user's own token at logon. It is shipped in Data and so lies in the install
// folder like every payload file; the setup keeps a copy for every user in a
// folder of Program Files, which only administrators may write and no user can
// have prepared (anyone may make a folder in ProgramData first, and keep it).
// That copy outlives the install folder, so the removal can still run at the
// logon of each user after the uninstall.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/WinResult.h"

// Its file name, which says what it does to an administrator reading the registry.
constexpr char kTrustedPathProgramName[] = "TrabexTrustedPath.exe";
// Its switches; each is followed by the install folder.
constexpr char kTrustedPathAddSwitch[] = "/add";
constexpr char kTrustedPathRemoveSwitch[] = "/remove";

enum UserStepMode { kUserStepAdd, kUserStepRemove };

// The folder of the copy every user runs: %ProgramFiles%\Ostrevo (this program's
// own Program Files). Empty when Windows cannot name Program Files.
CString SharedTrustedPathFolder();
// The copy itself.
CString SharedTrustedPathProgram();
// Places the per-user program of strSourceFolder there, making the folder (with
// the install folder's access list: administrators and SYSTEM full control,
// users read and execute) when missing. A copy that is running (a user's logon)
// and already holds the same bytes counts as placed. On failure strFailed names
// the path.
WinResult PlaceSharedTrustedPathProgram(const CStringW& strSourceFolder, CString& strFailed);
// The copy's command line for the mode and folder, as Active Setup runs it:
// "<copy>" /add "<folder>" (both quoted).
CString TrustedPathCommandLine(UserStepMode mode, const CString& strFolder);
