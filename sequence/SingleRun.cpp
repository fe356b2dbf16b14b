#include "sequence/SingleRun.h"

#include "platform/Failure.h"
#include "res/Texts.h"

SingleRun TakeSingleRun()
{
    SingleRun run;
    run.outcome = SingleInstance::Take(kSingleRunName, &run.dwError);
    return run;
}

ExitCode TellSingleRun(const SingleRun& run, Reporter& reporter, const char* pszCaption)
{
    switch (run.outcome) {
    case SingleInstance::kTaken:
        break;
    case SingleInstance::kBusy:
        reporter.Tell(Texts::kAnotherRunGoesOn, pszCaption);
        return kExitBusy;
    case SingleInstance::kNotOurs:
        reporter.Note(FailureLine(Texts::kLogSingleRunNotOursFormat, CStringW::FromText(kSingleRunName),
                                  run.dwError != ERROR_SUCCESS ? run.dwError : ERROR_ALREADY_EXISTS));
        break;
    case SingleInstance::kUnavailable:
        reporter.Note(FailureLine(Texts::kLogSingleRunUnavailableFormat, CStringW::FromText(kSingleRunName),
                                  run.dwError));
        break;
    }
    return kExitDone;
}
