// A fresh folder below %TEMP% for one test, removed with its contents afterwards.
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "\\" + relative.
    std::string operator/(const std::string& relative) const { return m_path + "\\" + relative; }

private:
    std::string m_path;
};

namespace Disk {

void WriteFile(const std::string& path, const std::string& content);
// "<missing>" when the file cannot be read.
std::string ReadFile(const std::string& path);
void MakeFolder(const std::string& path);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
// Sorted names in a folder, without "." and "..".
std::vector<std::string> List(const std::string& folder);
void RemoveTree(const std::string& path);

} // namespace Disk
