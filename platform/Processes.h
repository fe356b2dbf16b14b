// The one way the program reaches processes: its own, the ones it starts, and
// the list of those running.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/Handle.h"
#include "platform/WinResult.h"

namespace Processes {

// Starts a program (by its full path) with a command line of its own, in
// strFolder (empty: this program's current folder); the program holds a copy of
// hShared (a handle of this process, when given) from before its first
// instruction until it ends. When the copy cannot be placed the program is
// ended unstarted and the failure returned.
WinResult StartHolding(const CStringW& strExe, const CStringW& strCommandLine, const CStringW& strFolder,
                       HANDLE hShared);
// Waits (up to nMs) until process nId has ended; true when it has, or is unknown.
bool WaitForEnd(DWORD nId, DWORD nMs);
DWORD CurrentId();
// This program's command line, every character kept (GetCommandLineW).
CStringW CommandLineW();
// True for a 32-bit program on 64-bit Windows: both of its registry roots,
// SOFTWARE\... and SOFTWARE\Wow6432Node\..., name the same 32-bit keys.
bool IsWow64();

// Calls visit(imageName) for every running process until it returns true; the
// name (const wchar_t*) as Windows gives it.
// Returns true when a visit returned true; false when none did or no snapshot.
template <typename Visit>
bool AnyImageName(Visit visit);

} // namespace Processes

#include "platform/Processes.inl"
