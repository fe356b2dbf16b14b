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
        // Refused to us (an error), or owned by another account (none).
        if (run.dwError != ERROR_SUCCESS)
            reporter.Note(FailureLine(Texts::kLogSingleRunNotOursFormat, kSingleRunName,
                                      run.dwError));
        else
            reporter.Note(CStringW::FormatText(Texts::kLogSingleRunNotOursFormat,
                                               kSingleRunName));
        break;
    case SingleInstance::kUnavailable:
        reporter.Note(FailureLine(Texts::kLogSingleRunUnavailableFormat, kSingleRunName,
                                  run.dwError));
        break;
    }
    return kExitDone;
}
