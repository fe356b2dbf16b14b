// What each shipped program asks Windows for when it starts: the execution level
// in its manifest resource (Wine ignores it, so the resource itself is checked).
#include <gtest/gtest.h>

#include <windows.h>

#include <msxml2.h>

#include <string>
#include <vector>

#include "tests/e2e/SetupProcess.h"

namespace {

// The program's manifest resource, "<no manifest>" or "<no program>".
std::string ManifestOf(const std::string& program)
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
    return manifest;
}

// The manifest's requestedExecutionLevel, "<no manifest>" or "<no program>".
std::string ExecutionLevel(const std::string& program)
{
    const std::string manifest = ManifestOf(program);
    const std::string key = "requestedExecutionLevel level=\"";
    const size_t at = manifest.find(key);
    if (at == std::string::npos)
        return manifest;
    const size_t start = at + key.size();
    return manifest.substr(start, manifest.find('"', start) - start);
}

std::string Narrow(BSTR text)
{
    char buf[256] = {};
    if (text)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, buf, sizeof buf - 1, nullptr, nullptr);
    return buf;
}

// What a manifest declares about the DPI, read as Windows reads it (an XML
// parser, namespaces and all): "<not XML: reason>", "<none>", or the namespace
// of dpiAware's parent, of dpiAware and its text, one per line.
std::string DpiAwareDeclared(const std::string& manifest)
{
    CLSID clsid = {};
    IXMLDOMDocument* doc = nullptr;
    if (FAILED(CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(&doc))))
        return "<no XML parser>";
    std::wstring wide(manifest.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, manifest.data(), static_cast<int>(manifest.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    // The declaration names UTF-8; the text is handed over already decoded.
    const size_t declEnd = wide.find(L"?>");
    if (wide.compare(0, 5, L"<?xml") == 0 && declEnd != std::wstring::npos)
        wide.erase(0, declEnd + 2);
    BSTR text = SysAllocString(wide.c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    doc->loadXML(text, &ok);
    SysFreeString(text);
    std::string result = "<none>";
    IXMLDOMParseError* error = nullptr;
    if (ok != VARIANT_TRUE && SUCCEEDED(doc->get_parseError(&error)) && error) {
        BSTR reason = nullptr;
        error->get_reason(&reason);
        result = "<not XML: " + Narrow(reason) + ">";
        SysFreeString(reason);
        error->Release();
    }
    IXMLDOMNodeList* found = nullptr;
    IXMLDOMNode* node = nullptr;
    IXMLDOMNode* parent = nullptr;
    BSTR name = SysAllocString(L"dpiAware");
    if (ok == VARIANT_TRUE && SUCCEEDED(doc->getElementsByTagName(name, &found)) && found &&
        found->get_item(0, &node) == S_OK && node && SUCCEEDED(node->get_parentNode(&parent)) && parent) {
        BSTR parentSpace = nullptr, space = nullptr, value = nullptr;
        parent->get_namespaceURI(&parentSpace);
        node->get_namespaceURI(&space);
        node->get_text(&value);
        result = Narrow(parentSpace) + "\n" + Narrow(space) + "\n" + Narrow(value);
        SysFreeString(parentSpace);
        SysFreeString(space);
        SysFreeString(value);
    }
    SysFreeString(name);
    if (parent)
        parent->Release();
    if (node)
        node->Release();
    if (found)
        found->Release();
    doc->Release();
    return result;
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

// Sharp at any scaling: each program tells Windows it draws at the screen's DPI
// (Windows stretches the pixels of one that does not; Wine ignores the setting,
// so the manifest itself is read), in a manifest Windows can parse at all.
TEST(Manifest, EveryProgramIsWellFormedAndDeclaresSystemDpiAwareness)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    std::vector<std::string> setups = {BuiltSetupExe()};
    if (!Edition64SetupExe().empty())
        setups.push_back(Edition64SetupExe());
    for (const std::string& setup : setups)
        for (const std::string& program : {setup, Beside(setup, "Uninstall.exe"), Beside(setup, "TrabexTrustedPath.exe")})
            EXPECT_EQ("urn:schemas-microsoft-com:asm.v3\nhttp://schemas.microsoft.com/SMI/2005/WindowsSettings\ntrue",
                      DpiAwareDeclared(ManifestOf(program)))
                << program;
    CoUninitialize();
}
