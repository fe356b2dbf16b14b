// One run of the add-on's programs at a time on the whole machine: a named
// object that exists while a SetUp.exe or an Uninstall.exe runs (and the copy an
// uninstaller hands its work to, which is given a handle of its own). Two runs at
// once would race on TRUSTEDPATHS and the installed-files list.
#pragma once

#include <windows.h>

#include "framework/StringW.h"

namespace SingleInstance {

enum Outcome {
    kTaken,        // this process holds the name until it ends
    kBusy,         // another run holds it: this one must do nothing
    kNotOurs,      // held by an account that is neither an administrator nor SYSTEM
                   // (the programs always run elevated): not a run of ours, ignored
    kUnavailable,  // the object could not be made (*pError); the run goes on without it
};

// Creates (or opens) the object strName ("Global\..."). Administrators and SYSTEM
// may open it, so an administrator's run and a deployment tool's see each other.
// Busy only when it exists and is owned by Administrators, SYSTEM or this
// account: anyone else holding the name could otherwise stop every installation.
Outcome Take(const CStringW& strName, DWORD* pError);
// The object this process holds (NULL when none), for a program it starts to
// keep a copy of: the name then stays taken until that program ends too.
HANDLE Held();

} // namespace SingleInstance
