// What each shipped program asks Windows for when it starts: the execution level
// in its manifest resource (Wine ignores it, so the resource itself is checked).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/SetupProcess.h"

namespace {

// The manifest's requestedExecutionLevel, "<no manifest>" or "<no program>".
std::string ExecutionLevel(const std::string& program)
{
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return "<no program>";
    std::string manifest = "<no manifest>";
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (loaded)
        manifest.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    FreeLibrary(module);
    const std::string key = "requestedExecutionLevel level=\"";
    const size_t at = manifest.find(key);
    if (at == std::string::npos)
        return manifest;
    const size_t start = at + key.size();
    return manifest.substr(start, manifest.find('"', start) - start);
}

std::string Beside(const std::string& exe, const char* name)
{
    return exe.substr(0, exe.rfind('\\') + 1) + name;
}

} // namespace

TEST(Manifest, SetupAndUninstallAskForElevationThePerUserProgramForNothing)
{
    std::vector<std::string> setups = {BuiltSetupExe()};
    if (!Edition64SetupExe().empty())
        setups.push_back(Edition64SetupExe());
    for (const std::string& setup : setups) {
        EXPECT_EQ("requireAdministrator", ExecutionLevel(setup)) << setup;
        EXPECT_EQ("requireAdministrator", ExecutionLevel(Beside(setup, "Uninstall.exe"))) << setup;
        // Run at each user's logon with that user's own token: it must ask for nothing.
        EXPECT_EQ("asInvoker", ExecutionLevel(Beside(setup, "TrabexTrustedPath.exe"))) << setup;
    }
}
