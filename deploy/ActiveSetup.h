// The add-on's Active Setup component: at each user's logon Windows compares
// the component's Version with the one recorded in the user's own hive and, when
// it is higher (or the user has none), runs StubPath with that user's token and
// records it. So the per-user step reaches every user of the machine once,
// including users who have never logged on yet. IsInstalled stays 1: Windows
// runs no StubPath of a component that says 0, so the removal is the same
// component with the /remove StubPath and a higher Version.
// The key lies in the program's own registry view (Windows runs the components
// of both views).
#pragma once

#include "deploy/TrustedPathProgram.h"
#include "framework/String.h"
#include "platform/WinResult.h"

// Below HKEY_LOCAL_MACHINE: one fixed ID for the add-on, taken over by every
// install and removal.
constexpr char kActiveSetupKey[] =
    "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}";

// Writes the component: the copy's /add or /remove command line, IsInstalled 1,
// the readable name, DontAsk 2 (nobody is asked before a removal) and a Version
// above the one there. strVersion is the Version written.
WinResult WriteActiveSetup(UserStepMode mode, const CString& strFolder, CString& strVersion);
// Raises the component's Version alone: its StubPath (strStub), and the program
// it names, stay as the installation that owns it wrote them. strVersion is the
// Version written.
WinResult RaiseActiveSetupVersion(CString& strVersion, CString& strStub);
// The folder the component's StubPath names, and its mode (its switch); empty
// when there is no component.
CString ActiveSetupFolder(UserStepMode* pMode);
// The Version ("2026,3,31,0") that follows pszStored (NULL or not of that form:
// none) for a setup of version nSetupVersion (major * 10000 + minor * 100 + patch).
CString NextActiveSetupVersion(const char* pszStored, int nSetupVersion);

// The record in this user's hive that the component has run for them, as Windows
// writes it after StubPath. Written with the component's Version when the
// component names exactly strFolder, to add or to remove it (Windows then does
// not run the step again for this user at the next logon); nothing otherwise.
// False with the reason when it could not be written.
WinResult RecordUserStepDone(const CString& strFolder);
