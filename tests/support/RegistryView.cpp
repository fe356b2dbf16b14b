#include "tests/support/RegistryView.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace Reg {

namespace {

HKEY OpenRead(const Place& at, const std::string& path)
{
    HKEY h = nullptr;
    return RegOpenKeyExA(at.root, path.c_str(), 0, KEY_READ | at.view, &h) == ERROR_SUCCESS ? h : nullptr;
}

void SetRaw(const Place& at, const std::string& path, const char* name, DWORD type, const void* data, DWORD cb)
{
    HKEY h = CreateOrFail(at, path);
    if (!h)
        return;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(h, name, 0, type, static_cast<const BYTE*>(data), cb));
    RegCloseKey(h);
}

std::wstring Widen(const std::string& text, UINT codePage)
{
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
    return w;
}

} // namespace

HKEY CreateOrFail(const Place& at, const std::string& path)
{
    HKEY current = at.root;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string level = path.substr(start, end == std::string::npos ? end : end - start);
        HKEY next = nullptr;
        const LONG r = RegCreateKeyExA(current, level.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | at.view,
                                       nullptr, &next, nullptr);
        if (current != at.root)
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

std::vector<std::string> SubKeys(const Place& at, const std::string& path)
{
    std::vector<std::string> names;
    HKEY h = OpenRead(at, path);
    if (!h)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD cch = sizeof name;
        if (RegEnumKeyExA(h, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(h);
    return names;
}


void SetString(const Place& at, const std::string& path, const char* name, const std::string& value)
{
    SetRaw(at, path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void SetStringW(const Place& at, const std::string& path, const char* name, const std::wstring& value)
{
    HKEY h = CreateOrFail(at, path);
    if (!h)
        return;
    const std::wstring wideName = Widen(name, CP_ACP);
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(h, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(h);
}

void SetBinary(const Place& at, const std::string& path, const char* name, const std::string& data)
{
    SetRaw(at, path, name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

void SetDword(const Place& at, const std::string& path, const char* name, DWORD value)
{
    SetRaw(at, path, name, REG_DWORD, &value, sizeof value);
}

void CreateKey(const Place& at, const std::string& path)
{
    HKEY h = CreateOrFail(at, path);
    if (h)
        RegCloseKey(h);
}

bool KeyExists(const Place& at, const std::string& path)
{
    HKEY h = OpenRead(at, path);
    if (!h)
        return false;
    RegCloseKey(h);
    return true;
}

void DeleteTree(const Place& at, const std::string& path)
{
    const size_t slash = path.rfind('\\');
    const std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash);
    const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    HKEY above = nullptr;
    if (RegOpenKeyExA(at.root, parent.c_str(), 0, KEY_ALL_ACCESS | at.view, &above) != ERROR_SUCCESS)
        return;
    // The key itself is opened and deleted in the view: a plain name below a
    // redirected key would reach the other view's key of that name.
    HKEY key = nullptr;
    if (RegOpenKeyExA(above, leaf.c_str(), 0, KEY_ALL_ACCESS | at.view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExA(above, leaf.c_str(), at.view, 0);
    }
    RegCloseKey(above);
}

std::pair<DWORD, std::string> GetRaw(const Place& at, const std::string& path, const char* name)
{
    HKEY h = OpenRead(at, path);
    if (!h)
        return {REG_NONE, std::string()};
    DWORD type = REG_NONE, cb = 0;
    std::string data;
    if (RegQueryValueExA(h, name, nullptr, &type, nullptr, &cb) == ERROR_SUCCESS) {
        data.resize(cb);
        if (RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &cb) != ERROR_SUCCESS)
            type = REG_NONE, data.clear();
        data.resize(cb);
    }
    RegCloseKey(h);
    return {type, data};
}

std::string GetString(const Place& at, const std::string& path, const char* name)
{
    std::pair<DWORD, std::string> raw = GetRaw(at, path, name);
    if (raw.first == REG_NONE)
        return "<absent>";
    if (raw.first == REG_DWORD && raw.second.size() == sizeof(DWORD)) {
        DWORD d;
        memcpy(&d, raw.second.data(), sizeof d);
        return std::to_string(d);
    }
    std::string s = raw.second;
    s.resize(strnlen(s.c_str(), s.size()));
    return s;
}

std::map<std::string, std::pair<DWORD, std::string>> Values(const Place& at, const std::string& path)
{
    std::map<std::string, std::pair<DWORD, std::string>> out;
    HKEY h = OpenRead(at, path);
    if (!h)
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

static void ExportInto(const Place& at, const std::string& path, const std::string& shown, std::string& out)
{
    out += "[" + shown + "]\n";
    for (const auto& v : Values(at, path)) {
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
    for (const std::string& n : SubKeys(at, path))
        ExportInto(at, path.empty() ? n : path + "\\" + n, shown + "\\" + n, out);
}

std::string Export(const Place& at, const std::string& path)
{
    std::string out;
    if (KeyExists(at, path))
        ExportInto(at, path, path, out);
    return out;
}

bool Import(const Place& at, const std::string& utf8File)
{
    std::ifstream in(utf8File, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    if (!in)
        return false;
    // reg.exe reads version 5 files as UTF-16, with CR LF line ends.
    const std::wstring text = Widen(ss.str(), CP_UTF8);
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n' && (crlf.empty() || crlf.back() != L'\r'))
            crlf += L'\r';
        crlf += c;
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string utf16 = std::string(temp) + "trabex-import-" + std::to_string(GetCurrentProcessId()) + ".reg";
    {
        std::ofstream out(utf16, std::ios::binary);
        out.write("\xFF\xFE", 2);
        out.write(reinterpret_cast<const char*>(crlf.data()), static_cast<std::streamsize>(crlf.size() * 2));
    }
    std::string cmd = "reg.exe import \"" + utf16 + "\" " + (at.view == KEY_WOW64_32KEY ? "/reg:32" : "/reg:64");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;  // keep reg.exe quiet
    PROCESS_INFORMATION pi = {};
    DWORD code = 1;
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    DeleteFileA(utf16.c_str());
    return code == 0;
}

} // namespace Reg
