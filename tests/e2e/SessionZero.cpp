// The session query's stand-in for setup_session0.exe: session 0, where services
// and a deployment tool's SYSTEM run and no desktop a person sees exists.
#include "platform/UserSession.h"

namespace UserSession {

WinResult QuerySessionId(DWORD& nSession)
{
    nSession = 0;
    return WinResult();
}

} // namespace UserSession
