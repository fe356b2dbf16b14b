#include "tests/e2e/MachineFixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "deploy/ActiveSetup.h"
#include "tests/support/TempFolder.h"

namespace {

const char kAutodeskKey[] = "SOFTWARE\\Autodesk";
// The user's Active Setup records of the component, in both views.
const char* const kUserRecords[] = {
    "Software\\Microsoft\\Active Setup\\Installed Components\\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}",
    "Software\\Wow6432Node\\Microsoft\\Active Setup\\Installed Components\\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}",
};
// Where the setups of both editions keep the per-user program for every user.
const char* const kSharedFolders[] = {"C:\\Program Files\\Ostrevo", "C:\\Program Files (x86)\\Ostrevo"};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::wstring Widen(const std::string& text, UINT codePage)
{
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
    return w;
}

std::string Narrow(const std::wstring& w, UINT codePage)
{
    const int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

void RunAndWait(std::string cmd)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;  // keep reg.exe quiet
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return;
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

void DumpKey(HKEY root, const std::string& path, std::string& out)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return;
    std::string values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[16384];
        DWORD cch = sizeof name, cb = sizeof data, type = 0;
        if (RegEnumValueA(h, i, name, &cch, nullptr, &type, data, &cb) != ERROR_SUCCESS)
            break;
        values += "    ";
        values += name;
        values += " = ";
        if (type == REG_DWORD) {
            DWORD d = 0;
            memcpy(&d, data, sizeof d);
            values += std::to_string(d) + " (REG_DWORD)";
        } else {
            values += std::string(reinterpret_cast<char*>(data), strnlen(reinterpret_cast<char*>(data), cb));
        }
        values += "\n";
    }
    if (!values.empty())
        out += "  " + path + "\n" + values;
    std::vector<std::string> subs;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD cch = sizeof name;
        if (RegEnumKeyExA(h, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subs.push_back(name);
    }
    RegCloseKey(h);
    for (const std::string& s : subs)
        DumpKey(root, path + "\\" + s, out);
}

void DumpFiles(const std::string& folder, const std::string& shown, std::string& out)
{
    for (const std::string& name : Disk::List(folder)) {
        const std::string path = folder + "\\" + name;
        if (Disk::IsFolder(path)) {
            DumpFiles(path, shown + "\\" + name, out);
        } else {
            // The last line of the (small, sample) file says what it is; a program
            // is named as one.
            std::string content = Disk::ReadFile(path);
            if (content.compare(0, 2, "MZ") == 0) {
                out += "  " + shown + "\\" + name + "  [program, " + std::to_string(content.size()) + " bytes]\n";
                continue;
            }
            while (!content.empty() && content.back() == '\n')
                content.pop_back();
            std::string last = content.substr(content.rfind('\n') + 1);
            // The sample files are UTF-8 text; the snapshot is in the code page.
            if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, last.data(), static_cast<int>(last.size()), nullptr, 0) > 0)
                last = Narrow(Widen(last, CP_UTF8), CP_ACP);
            out += "  " + shown + "\\" + name + "  [" + last.substr(0, 60) + "]\n";
        }
    }
}

} // namespace

std::string ToUtf8(const std::string& gbk)
{
    return Narrow(Widen(gbk, CP_ACP), CP_UTF8);
}

std::string FixturesDir()
{
    return TRABEX_FIXTURES_DIR;
}

MachineFixture::MachineFixture(const std::string& fixturesDir, bool removeWhenDone, Layout layout)
    : m_dir(fixturesDir), m_remove(removeWhenDone)
{
    Clean();
    if (layout == kEdition64) {
        ImportReg("machine-edition64.reg", "/reg:64");
        ImportReg("machine-wow64.reg", "/reg:32");
    } else {
        // Into the view this build's programs read: the 32-bit view for the 32-bit setup.
        const char* own = sizeof(void*) == 8 ? "/reg:64" : "/reg:32";
        ImportReg("machine.reg", own);
        ImportReg("user.reg", own);
    }
    std::istringstream lines(ReadAll(m_dir + "\\folders.txt"));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const std::string folder = "C:\\" + Narrow(Widen(line, CP_UTF8), CP_ACP);
        for (size_t i = 0; i <= folder.size(); ++i) {
            if (i == folder.size() || folder[i] == '\\')
                Disk::MakeFolder(folder.substr(0, i));
        }
        Disk::MakeFolder(folder + "\\Fonts");
        Disk::MakeFolder(folder + "\\Drv");
        Disk::WriteFile(folder + "\\Drv\\pdfplot9.hdi", "AutoCAD's own PDF plot driver\n");
        m_folders.push_back(folder);
    }
}

MachineFixture::~MachineFixture()
{
    if (m_remove)
        Clean();
}

void MachineFixture::ImportReg(const std::string& file, const char* view) const
{
    // reg.exe reads version 5 files as UTF-16; the fixtures are kept in UTF-8.
    std::wstring text = Widen(ReadAll(m_dir + "\\" + file), CP_UTF8);
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n' && (crlf.empty() || crlf.back() != L'\r'))
            crlf += L'\r';
        crlf += c;
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string utf16 = std::string(temp) + "trabex-fixture-" + std::to_string(GetCurrentProcessId()) + ".reg";
    std::ofstream out(utf16, std::ios::binary);
    out.write("\xFF\xFE", 2);
    out.write(reinterpret_cast<const char*>(crlf.data()), static_cast<std::streamsize>(crlf.size() * 2));
    out.close();
    RunAndWait("reg.exe import \"" + utf16 + "\" " + view);
    DeleteFileA(utf16.c_str());
}

void MachineFixture::Clean() const
{
    // Both registry views, whatever this program's own bitness.
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY software = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) == ERROR_SUCCESS) {
            RegDeleteTreeA(software, "Autodesk");
            RegDeleteTreeA(software, "Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo");
            RegDeleteTreeA(software, std::string(kActiveSetupKey).substr(9).c_str());  // past "SOFTWARE\\"
            RegCloseKey(software);
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kAutodeskKey);
    for (const char* record : kUserRecords)
        RegDeleteTreeA(HKEY_CURRENT_USER, record);
    for (const char* folder : kSharedFolders)
        Disk::RemoveTree(folder);
    for (const char* folder : {"C:\\Program Files\\AutoCAD 2008", "C:\\Program Files\\AutoCAD 2010",
                               "C:\\Program Files\\Autodesk", "C:\\Trabex"})
        Disk::RemoveTree(folder);
}

std::string MachineFixture::Dump(HKEY root, const std::string& path)
{
    std::string out;
    DumpKey(root, path, out);
    return out;
}

std::string MachineFixture::Snapshot()
{
    std::string out = "Registry, HKEY_LOCAL_MACHINE (the setup's view):\n";
    DumpKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD", out);
    DumpKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD", out);
    DumpKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo", out);
    DumpKey(HKEY_LOCAL_MACHINE, kActiveSetupKey, out);
    out += "Registry, HKEY_CURRENT_USER:\n";
    DumpKey(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk\\AutoCAD", out);
    for (const char* record : kUserRecords)
        DumpKey(HKEY_CURRENT_USER, record, out);
    out += "Files:\n";
    DumpFiles("C:\\Trabex", "C:\\Trabex", out);
    DumpFiles("C:\\Program Files\\AutoCAD 2008", "C:\\Program Files\\AutoCAD 2008", out);
    DumpFiles("C:\\Program Files\\AutoCAD 2010", "C:\\Program Files\\AutoCAD 2010", out);
    DumpFiles("C:\\Program Files\\Autodesk", "C:\\Program Files\\Autodesk", out);
    for (const char* folder : kSharedFolders)
        DumpFiles(folder, folder, out);
    return out;
}
