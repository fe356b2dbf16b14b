#include "tests/e2e/MachineFixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "deploy/ActiveSetup.h"
#include "tests/support/TempFolder.h"
#include "tests/support/RegistryView.h"

namespace {

const char kAutodeskKey[] = "SOFTWARE\\Autodesk";
const char kDecoyAutodeskKey[] = "Software\\Wow6432Node\\Autodesk";
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

void DumpKey(const Reg::Place& at, const std::string& path, std::string& out)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(at.root, path.c_str(), 0, KEY_READ | at.view, &h) != ERROR_SUCCESS)
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
    RegCloseKey(h);
    for (const std::string& s : Reg::SubKeys(at, path))
        DumpKey(at, path + "\\" + s, out);
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
        ImportReg("machine-edition64.reg", Reg::kMachine64);
        ImportReg("machine-wow64.reg", Reg::kMachine32);
    } else {
        // Into the view this build's programs read: the 32-bit view for the 32-bit setup.
        ImportReg("machine.reg", Reg::kMachine);
        ImportReg("user.reg", Reg::kUser);
    }
    // A decoy profile in the user hive's other view, which no program may read or
    // write: Windows keeps one user tree for both views, so only a program that
    // opened the wrong view (Wine redirects it there) would reach it.
    Reg::SetString(Reg::kUser, kDecoyProfile, "TRUSTEDPATHS", kDecoyTrustedPaths);
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
    if (!m_remove)
        return;
    EXPECT_EQ(kDecoyTrustedPaths, Reg::GetString(Reg::kUser, kDecoyProfile, "TRUSTEDPATHS"))
        << "a program reached the other view of the user's hive";
    Clean();
    Reg::DeleteTree(Reg::kUser, kDecoyAutodeskKey);
}

void MachineFixture::ImportReg(const std::string& file, const Reg::Place& at) const
{
    EXPECT_TRUE(Reg::Import(at, m_dir + "\\" + file)) << file;
}

void MachineFixture::Clean() const
{
    // Both registry views, whatever this program's own bitness.
    for (const Reg::Place& machine : {Reg::kMachine64, Reg::kMachine32}) {
        Reg::DeleteTree(machine, kAutodeskKey);
        Reg::DeleteTree(machine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo");
        Reg::DeleteTree(machine, kActiveSetupKey);
    }
    Reg::DeleteTree(Reg::kUser, kAutodeskKey);
    for (const char* record : kUserRecords)
        Reg::DeleteTree(Reg::kUser, record);
    for (const char* folder : kSharedFolders)
        Disk::RemoveTree(folder);
    for (const char* folder : {"C:\\Program Files\\AutoCAD 2008", "C:\\Program Files\\AutoCAD 2010",
                               "C:\\Program Files\\Autodesk", "C:\\Trabex"})
        Disk::RemoveTree(folder);
}

std::string MachineFixture::Dump(const Reg::Place& at, const std::string& path)
{
    std::string out;
    DumpKey(at, path, out);
    return out;
}

std::string MachineFixture::Snapshot()
{
    std::string out = "Registry, HKEY_LOCAL_MACHINE (the setup's view):\n";
    DumpKey(Reg::kMachine, "SOFTWARE\\Autodesk\\AutoCAD", out);
    DumpKey(Reg::kMachine, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD", out);
    DumpKey(Reg::kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q-Ostrevo", out);
    DumpKey(Reg::kMachine, kActiveSetupKey, out);
    out += "Registry, HKEY_CURRENT_USER:\n";
    DumpKey(Reg::kUser, "SOFTWARE\\Autodesk\\AutoCAD", out);
    DumpKey(Reg::kUser, std::string(kDecoyAutodeskKey) + "\\AutoCAD", out);
    for (const char* record : kUserRecords)
        DumpKey(Reg::kUser, record, out);
    out += "Files:\n";
    DumpFiles("C:\\Trabex", "C:\\Trabex", out);
    DumpFiles("C:\\Program Files\\AutoCAD 2008", "C:\\Program Files\\AutoCAD 2008", out);
    DumpFiles("C:\\Program Files\\AutoCAD 2010", "C:\\Program Files\\AutoCAD 2010", out);
    DumpFiles("C:\\Program Files\\Autodesk", "C:\\Program Files\\Autodesk", out);
    for (const char* folder : kSharedFolders)
        DumpFiles(folder, folder, out);
    return out;
}
