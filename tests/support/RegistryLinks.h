// Registry symbolic links below HKEY_LOCAL_MACHINE, for tests.
#pragma once

#include <string>

// Creates below parentPath a link sub-key named linkName that points to targetPath.
bool CreateLink(const std::string& parentPath, const char* linkName, const std::string& targetPath);
// Deletes the link key itself, not what it points to.
void DeleteLink(const std::string& linkPath);
