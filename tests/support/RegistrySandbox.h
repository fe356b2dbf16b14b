// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER into fresh scratch keys for
// the life of the object, so each test starts from an empty registry and leaves
// nothing behind.
#pragma once

#include <windows.h>

#include <map>
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

// Small helpers for seeding and reading keys through the (redirected) roots.
namespace Reg {

void SetString(HKEY root, const std::string& path, const char* name, const std::string& value);
void SetBinary(HKEY root, const std::string& path, const char* name, const std::string& data);
void SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
void CreateKey(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
// Value data as text (REG_SZ without its NUL); "<absent>" when missing.
std::string GetString(HKEY root, const std::string& path, const char* name);
// (type, raw data) of a value; type REG_NONE and empty data when missing.
std::pair<DWORD, std::string> GetRaw(HKEY root, const std::string& path, const char* name);
// name -> (type, data) of every value of the key.
std::map<std::string, std::pair<DWORD, std::string>> Values(HKEY root, const std::string& path);
// A readable, sorted dump of the whole tree below path: one line per key and value.
std::string Export(HKEY root, const std::string& path);

} // namespace Reg
