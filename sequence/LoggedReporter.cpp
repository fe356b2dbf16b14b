#include "sequence/LoggedReporter.h"

#include "res/Texts.h"

namespace {

// The button names of the log, by ID.
const char* AnswerName(int nAnswer)
{
    switch (nAnswer) {
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDCANCEL: return "Cancel";
    default: return "OK";
    }
}

} // namespace

LoggedReporter::LoggedReporter(Reporter* pInner, LogFile* pLog)
    : m_pInner(pInner), m_pLog(pLog)
{
}

void LoggedReporter::Note(const char* pszLine)
{
    if (m_pLog)
        m_pLog->Write(pszLine);
    if (m_pInner)
        m_pInner->Note(pszLine);
}

void LoggedReporter::Tell(const char* pszText, const char* pszCaption)
{
    CString line;
    line.Format(Texts::kLogMessageFormat, pszCaption, pszText);
    Note(line);
    if (m_pInner)
        m_pInner->Tell(pszText, pszCaption);
}

int LoggedReporter::Ask(const char* pszText, const char* pszCaption, UINT nType, int nUnattended)
{
    const int answer = m_pInner ? m_pInner->Ask(pszText, pszCaption, nType, nUnattended) : nUnattended;
    CString line;
    line.Format(Texts::kLogQuestionFormat, pszCaption, pszText, AnswerName(answer));
    Note(line);
    return answer;
}

void LoggedReporter::BeginProgress(int nSteps)
{
    if (m_pInner)
        m_pInner->BeginProgress(nSteps);
}

void LoggedReporter::Step()
{
    if (m_pInner)
        m_pInner->Step();
}

void LoggedReporter::FinishProgress()
{
    if (m_pInner)
        m_pInner->FinishProgress();
}
