// The session query, in a file of its own: see UserSession.h.
#include "platform/UserSession.h"

namespace UserSession {

WinResult QuerySessionId(DWORD& nSession)
{
    return WinResult::FromLastError(ProcessIdToSessionId(GetCurrentProcessId(), &nSession) != FALSE);
}

} // namespace UserSession
