// Runs the operations that take the ticked releases with the releases given by year.
#pragma once

#include <initializer_list>

#include "acad/AcadRegistry.h"
#include "deploy/PayloadLocation.h"
#include "tests/support/NoteRecorder.h"

inline void SetTicks(ReleaseTicks& t, std::initializer_list<int> years)
{
    for (int k = 0; k < kReleaseCount; ++k)
        t[k] = FALSE;
    for (int y : years)
        t[ReleaseIndex(y)] = TRUE;
}

// The registrations and trusted paths; what could not be written.
inline FailureList RegisterTicked(CAcadRegistry& r, std::initializer_list<int> years)
{
    ReleaseTicks t;
    SetTicks(t, years);
    NoteRecorder log;
    FailureList failures;
    r.RegisterWithAcad(t, log, failures);
    r.AddTrustedPath(log);
    return failures;
}

// The support files from the payload beside "the program"; what could not be
// written. The log lines into *pLog when given.
inline FailureList InstallSupportTicked(CAcadRegistry& r, std::initializer_list<int> years,
                                        NoteRecorder* pLog = nullptr)
{
    ReleaseTicks t;
    SetTicks(t, years);
    CStringW payload;
    LocatePayload(payload);
    NoteRecorder log;
    FailureList failures;
    r.InstallSupportFiles(t, payload, pLog ? *pLog : log, failures);
    return failures;
}

// A failure's what, as the program's text.
inline std::string What(const Failure& failure)
{
    return CString::FromWide(failure.strWhat.GetString()).Std();
}
