#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

std::atomic<int> g_sandboxCounter{0};

// Creates the key one level at a time: Wine refuses long paths in one call.
HKEY CreateOrFail(HKEY root, const std::string& path)
{
    HKEY current = root;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string level = path.substr(start, end == std::string::npos ? end : end - start);
        HKEY next = nullptr;
        const LONG r = RegCreateKeyExA(current, level.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                       nullptr, &next, nullptr);
        if (current != root)
            RegCloseKey(current);
        EXPECT_EQ(ERROR_SUCCESS, r) << "cannot create " << path.substr(0, 80) << "...";
        if (r != ERROR_SUCCESS)
            return nullptr;
        current = next;
        if (end == std::string::npos)
            return current;
        start = end + 1;
    }
}

} // namespace

RegistrySandbox::RegistrySandbox()
{
    char sz[96];
    std::snprintf(sz, sizeof sz, "Software\\TrabexTests\\%lu-%d",
                  static_cast<unsigned long>(GetCurrentProcessId()), g_sandboxCounter++);
    m_scratchPath = sz;
    HKEY hklm = CreateOrFail(HKEY_CURRENT_USER, m_scratchPath + "\\HKLM");
    HKEY hkcu = CreateOrFail(HKEY_CURRENT_USER, m_scratchPath + "\\HKCU");
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, hklm));
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, hkcu));
    RegCloseKey(hklm);
    RegCloseKey(hkcu);
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_scratchPath.c_str());
}

namespace Reg {

static void SetRaw(HKEY root, const std::string& path, const char* name, DWORD type,
                   const void* data, DWORD cb)
{
    HKEY h = CreateOrFail(root, path);
    if (!h)
        return;
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(h, name, 0, type, static_cast<const BYTE*>(data), cb));
    RegCloseKey(h);
}

void SetString(HKEY root, const std::string& path, const char* name, const std::string& value)
{
    SetRaw(root, path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void SetBinary(HKEY root, const std::string& path, const char* name, const std::string& data)
{
    SetRaw(root, path, name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

void SetDword(HKEY root, const std::string& path, const char* name, DWORD value)
{
    SetRaw(root, path, name, REG_DWORD, &value, sizeof value);
}

void CreateKey(HKEY root, const std::string& path)
{
    HKEY h = CreateOrFail(root, path);
    if (h)
        RegCloseKey(h);
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

std::pair<DWORD, std::string> GetRaw(HKEY root, const std::string& path, const char* name)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return {REG_NONE, std::string()};
    DWORD type = REG_NONE, cb = 0;
    std::string data;
    if (RegQueryValueExA(h, name, nullptr, &type, nullptr, &cb) == ERROR_SUCCESS) {
        data.resize(cb);
        if (RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &cb) !=
            ERROR_SUCCESS)
            type = REG_NONE, data.clear();
        data.resize(cb);
    }
    RegCloseKey(h);
    return {type, data};
}

std::string GetString(HKEY root, const std::string& path, const char* name)
{
    std::pair<DWORD, std::string> raw = GetRaw(root, path, name);
    if (raw.first == REG_NONE)
        return "<absent>";
    std::string s = raw.second;
    if (!s.empty() && s.back() == '\0')
        s.pop_back();
    return s;
}

std::map<std::string, std::pair<DWORD, std::string>> Values(HKEY root, const std::string& path)
{
    std::map<std::string, std::pair<DWORD, std::string>> out;
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD cch = sizeof name, type = 0, cb = 0;
        if (RegEnumValueA(h, i, name, &cch, nullptr, &type, nullptr, &cb) != ERROR_SUCCESS)
            break;
        std::string data(cb, '\0');
        cch = sizeof name;
        RegEnumValueA(h, i, name, &cch, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &cb);
        data.resize(cb);
        out[name] = {type, data};
    }
    RegCloseKey(h);
    return out;
}

static void ExportInto(HKEY root, const std::string& path, const std::string& shown,
                       std::string& out)
{
    out += "[" + shown + "]\n";
    for (const auto& v : Values(root, path)) {
        char head[32];
        std::snprintf(head, sizeof head, " (%lu) ", static_cast<unsigned long>(v.second.first));
        std::string data = v.second.second;
        if (v.second.first == REG_DWORD && data.size() == 4) {
            DWORD d;
            memcpy(&d, data.data(), 4);
            data = std::to_string(d);
        } else if (!data.empty() && data.back() == '\0') {
            data.pop_back();
        }
        out += "  " + v.first + head + data + "\n";
    }
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return;
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD cch = sizeof name;
        if (RegEnumKeyExA(h, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(h);
    for (const std::string& n : names)
        ExportInto(root, path.empty() ? n : path + "\\" + n, shown + "\\" + n, out);
}

std::string Export(HKEY root, const std::string& path)
{
    std::string out;
    if (KeyExists(root, path))
        ExportInto(root, path, path, out);
    return out;
}

} // namespace Reg
