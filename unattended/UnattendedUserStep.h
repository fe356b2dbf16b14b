// TrabexTrustedPath.exe's face: the per-user step with no window at all (Windows
// runs it at logon), a log only when one is asked for.
#pragma once

#include "framework/String.h"
#include "sequence/ExitCodes.h"
#include "sequence/UserStep.h"

class LogFile;

ExitCode RunUnattendedUserStep(UserStepMode mode, const CString& strFolder, LogFile* pLog);
