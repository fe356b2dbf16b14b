#include "platform/SystemFolders.h"

#include <shlobj.h>

#include "platform/SystemLibrary.h"

CStringW ProgramFilesFolder()
{
    // Asked of the shell once: the folder stays where it is while the program runs.
    static CStringW known;
    if (!known.IsEmpty())
        return known;
    // shell32.dll loaded here, when the install first asks, not with the program.
    const auto folderPath = SystemFunctionAs<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH] = {};
    if (!folderPath || FAILED(folderPath(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path)))
        return CStringW();
    known = CStringW(path);
    return known;
}
