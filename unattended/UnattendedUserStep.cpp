#include "unattended/UnattendedUserStep.h"

#include "sequence/LoggedReporter.h"

ExitCode RunUnattendedUserStep(UserStepMode mode, const CString& strFolder, LogFile* pLog)
{
    LoggedReporter reporter(nullptr, pLog);
    return RunUserStep(mode, strFolder, reporter);
}
