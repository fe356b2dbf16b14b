#include "platform/UserSession.h"

#include "platform/Handle.h"

namespace UserSession {

namespace {

// A token's user: TOKEN_USER and the SID it points to, whose size Windows bounds.
class TokenAccount {
public:
    // Reads the user of hToken (opened with TOKEN_QUERY); false when it cannot.
    bool Read(HANDLE hToken)
    {
        DWORD cb = 0;
        m_bRead = GetTokenInformation(hToken, ::TokenUser, m_buffer, sizeof m_buffer, &cb) != FALSE;
        return m_bRead;
    }
    // The user of this process's token.
    bool ReadThisProcess()
    {
        HANDLE h = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &h))
            return false;
        ScopedHandle token(h);
        return Read(token.Get());
    }
    PSID Sid() const { return m_bRead ? reinterpret_cast<const TOKEN_USER*>(m_buffer)->User.Sid : nullptr; }

private:
    alignas(TOKEN_USER) BYTE m_buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    bool m_bRead = false;
};

} // namespace

bool IsThisAccount(PSID sid)
{
    TokenAccount self;
    return sid && self.ReadThisProcess() && EqualSid(self.Sid(), sid);
}

} // namespace UserSession
