#include "app/RequestedLog.h"

#include "platform/ErrorText.h"
#include "platform/Files.h"
#include "platform/LogFile.h"
#include "res/Texts.h"
#include "sequence/LoggedReporter.h"

bool OpenRequestedLog(const CommandLine& options, LogFile& log, bool bAppend, const char* pszCaption,
                      const char* pszDefaultName)
{
    if (options.strLog.IsEmpty()) {
        const CStringW temp = Files::TempFolderW();
        if (!temp.IsEmpty())
            log.Open(temp + L"\\" + CStringW::FromText(pszDefaultName), bAppend);
        return true;
    }
    const WinResult opened = log.Open(options.strLog, bAppend);
    if (opened)
        return true;
    WindowReporter boxes(nullptr, nullptr);
    LoggedReporter reporter(options.bSilent ? nullptr : &boxes, nullptr);
    reporter.Tell(CStringW::FormatText(Texts::kLogCannotOpenFormat, log.Path().GetString()) +
                      DescribeError(opened.Code()),
                  pszCaption);
    return false;
}
