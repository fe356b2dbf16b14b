// The per-user program: it puts the install folder into (or takes it out of)
// TRUSTEDPATHS in every AutoCAD profile of the user who runs it, and nothing
// else. It asks for no rights (asInvoker), so that Windows can run it with each
// user's own token at logon; it is shipped in Data and so lies in the install
// folder like every payload file.
#pragma once

// Its file name, which says what it does to an administrator reading the registry.
constexpr char kTrustedPathProgramName[] = "TrabexTrustedPath.exe";
// Its switches; each is followed by the install folder.
constexpr char kTrustedPathAddSwitch[] = "/add";
constexpr char kTrustedPathRemoveSwitch[] = "/remove";
