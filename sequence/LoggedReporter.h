// A face with a log: every note, message and question (with the answer given) is
// written to the log; what is shown is left to the inner face, or, with none, to
// nobody (the unattended run), when each question gets its unattended answer.
#pragma once

#include "framework/Reporter.h"
#include "platform/LogFile.h"

class LoggedReporter : public Reporter {
public:
    // pInner NULL: unattended, nothing is shown. pLog NULL or closed: nothing written.
    LoggedReporter(Reporter* pInner, LogFile* pLog);

    using Reporter::Note;
    using Reporter::Tell;
    void Note(const CStringW& strLine) override;
    void Tell(const CStringW& strText, const char* pszCaption) override;
    int Ask(const CStringW& strText, const char* pszCaption, UINT nType, int nUnattended) override;
    void BeginProgress(int nSteps) override;
    void Step() override;
    void FinishProgress() override;

private:
    Reporter* m_pInner;
    LogFile* m_pLog;
};
