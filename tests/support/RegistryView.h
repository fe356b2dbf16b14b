// Registry state a test stages, reads or deletes, always in a named view.
// On Windows HKEY_CURRENT_USER\Software is one tree for both views, and the
// programs open the user's AutoCAD profiles in the 64-bit view; Wine, though,
// redirects a 32-bit program's plain opens below it into Software\Wow6432Node
// once that key exists. So the user's hive is used in the 64-bit view here too,
// and HKEY_LOCAL_MACHINE in the view of the program under test.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace Reg {

struct Place {
    HKEY root;
    REGSAM view;  // KEY_WOW64_32KEY or KEY_WOW64_64KEY
};

// The view this build's programs read and write without a flag: their own.
constexpr REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

const Place kUser = {HKEY_CURRENT_USER, KEY_WOW64_64KEY};
const Place kMachine = {HKEY_LOCAL_MACHINE, kOwnView};
const Place kMachine32 = {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
const Place kMachine64 = {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY};

// Creates the key (and what is missing above it) one level at a time, as Wine
// needs for long paths; the open key, or NULL with a test failure recorded.
HKEY CreateOrFail(const Place& at, const std::string& path);
// The names of the key's direct sub-keys, in the registry's order.
std::vector<std::string> SubKeys(const Place& at, const std::string& path);

void SetString(const Place& at, const std::string& path, const char* name, const std::string& value);
// REG_SZ through the wide function: every character of any language kept.
void SetStringW(const Place& at, const std::string& path, const char* name, const std::wstring& value);
void SetBinary(const Place& at, const std::string& path, const char* name, const std::string& data);
void SetDword(const Place& at, const std::string& path, const char* name, DWORD value);
void CreateKey(const Place& at, const std::string& path);
bool KeyExists(const Place& at, const std::string& path);
// Deletes the key and everything below it; nothing when it is not there.
void DeleteTree(const Place& at, const std::string& path);
// Value data as text (REG_SZ without its NUL, REG_DWORD in decimal); "<absent>" when missing.
std::string GetString(const Place& at, const std::string& path, const char* name);
// (type, raw data) of a value; type REG_NONE and empty data when missing.
std::pair<DWORD, std::string> GetRaw(const Place& at, const std::string& path, const char* name);
// name -> (type, data) of every value of the key.
std::map<std::string, std::pair<DWORD, std::string>> Values(const Place& at, const std::string& path);
// A readable, sorted dump of the whole tree below path: one line per key and value.
std::string Export(const Place& at, const std::string& path);
// Imports a registry file (version 5, UTF-8 text) into the place's view with
// Wine's reg.exe, which places keys exactly where the file says only in an
// explicit view. The root named in the file must be the place's.
bool Import(const Place& at, const std::string& utf8File);

} // namespace Reg
