// The switches of the programs, read once at start-up:
//   SetUp.exe     [/S] [/LOG=<file>] [/NORESTART] [/?|/HELP] [/D=<folder>]
//   Uninstall.exe [/S] [/LOG=<file>] [/NORESTART] [/?|/HELP]
//   TrabexTrustedPath.exe /add|/remove <install folder> [/LOG=<file>]
// Case-insensitive. /D= comes last and takes the rest of the line, blanks
// included, without quotes; /LOG= and the install folder may be quoted. Read from
// the wide command line: a path of any language arrives whole.
#pragma once

#include "deploy/TrustedPathProgram.h"
#include "framework/StringW.h"

struct CommandLine {
    bool bSilent = false;
    CStringW strLog;     // empty: the program's default log (RequestedLog.h)
    CStringW strFolder;  // empty: where the add-on is, else the default folder
    bool bHasFolder = false;
    bool bHelp = false;       // /? or /HELP: the usage, and nothing else
    bool bNoRestart = false;  // /NORESTART: what deployment tools add; nothing here restarts
};

// Parses the raw command line (program name first, as GetCommandLineW gives it).
// bAcceptFolder: whether /D= is a switch of this program. False when a word is
// not understood; the other switches are still read into result.
bool ParseCommandLine(const CStringW& strRaw, bool bAcceptFolder, CommandLine& result);

// The per-user program's command line.
struct TrustedPathCommand {
    bool bRemove = false;  // /remove; else /add
    CStringW strFolder;
    CStringW strLog;       // empty: no log
};

// Parses the per-user program's raw command line: exactly one of /add and
// /remove, each followed by the folder. False when anything is not understood.
bool ParseTrustedPathCommandLine(const CStringW& strRaw, TrustedPathCommand& result);

// The words of a raw command line, program name first; a word in double quotes
// may hold blanks (the temporary copy's arguments are written that way).
void SplitArguments(const CStringW& strRaw, CStringArrayW& words);
