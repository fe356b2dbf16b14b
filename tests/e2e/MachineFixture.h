// The simulated machine of the end-to-end tests and the demo: AutoCAD keys and
// profiles from tests/fixtures/*.reg, imported with Wine's reg.exe into the view
// the setup reads, and AutoCAD folders with Fonts and Drv. Removed again when
// the object goes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/RegistryView.h"

class MachineFixture {
public:
    // kEdition32: AutoCAD 2008, 2010, 2016 (two products) and 2018, all 32-bit, and
    // the user's profiles. kEdition64: a 64-bit AutoCAD 2016 (64-bit registry view)
    // and a 32-bit AutoCAD 2010 (32-bit view) on the same machine.
    enum Layout { kEdition32, kEdition64 };
    // fixturesDir: the Windows path of tests/fixtures.
    explicit MachineFixture(const std::string& fixturesDir, bool removeWhenDone = true,
                            Layout layout = kEdition32);
    ~MachineFixture();

    // Full paths of the simulated AutoCAD folders, in the order of folders.txt.
    const std::vector<std::string>& AcadFolders() const { return m_folders; }
    // Everything the machine holds now: registry below the AutoCAD keys, the
    // install folder and the AutoCAD folders' Fonts and Drv (UTF-8 text).
    static std::string Snapshot();
    // One registry tree as sorted-free text: one line per key with values, one per value.
    static std::string Dump(const Reg::Place& at, const std::string& path);
    // Removes AutoCAD's keys and folders, C:\Trabex, and what the setup keeps
    // for every user (the Active Setup component, the user's record of it, the
    // per-user program in Program Files).
    void Clean() const;

private:
    void ImportReg(const std::string& file, const Reg::Place& at) const;
    std::string m_dir;
    std::vector<std::string> m_folders;
    bool m_remove;
};

// A profile in the other view of the user's hive, and its trusted paths: a
// program that reads or writes it opened the wrong view.
const char kDecoyProfile[] =
    "Software\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables";
const char kDecoyTrustedPaths[] = "D:\\DECOY";

// GBK (the code page) to UTF-8, for output that a Linux terminal reads.
std::string ToUtf8(const std::string& gbk);
// The fixtures folder of this build (compiled in).
std::string FixturesDir();
