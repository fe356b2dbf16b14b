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

void LoggedReporter::Note(const CStringW& strLine)
{
    if (m_pLog)
        m_pLog->Write(strLine);
    if (m_pInner)
        m_pInner->Note(strLine);
}

void LoggedReporter::Tell(const CStringW& strText, const char* pszCaption)
{
    Note(CStringW::FormatText(Texts::kLogMessageFormat, CStringW::FromText(pszCaption).GetString(),
                              strText.GetString()));
    if (m_pInner)
        m_pInner->Tell(strText, pszCaption);
}

int LoggedReporter::Ask(const CStringW& strText, const char* pszCaption, UINT nType, int nUnattended)
{
    const int answer = m_pInner ? m_pInner->Ask(strText, pszCaption, nType, nUnattended) : nUnattended;
    Note(CStringW::FormatText(Texts::kLogQuestionFormat, CStringW::FromText(pszCaption).GetString(),
                              strText.GetString(), CStringW::FromText(AnswerName(answer)).GetString()));
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
