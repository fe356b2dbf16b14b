// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER into fresh scratch keys for
// the life of the object, so each test starts from an empty registry and leaves
// nothing behind.
#pragma once

#include <windows.h>

#include <string>

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Full path of the scratch key below the real HKEY_CURRENT_USER.
    const std::string& ScratchPath() const { return m_scratchPath; }

private:
    std::string m_scratchPath;
};
