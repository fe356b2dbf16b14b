// Who runs this program: the only code that reads tokens.
#pragma once

#include <windows.h>

namespace UserSession {

// True when sid is the account this process runs as.
bool IsThisAccount(PSID sid);

} // namespace UserSession
