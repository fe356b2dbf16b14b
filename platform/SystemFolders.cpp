#include "platform/SystemFolders.h"

#include <shlobj.h>


CStringW ProgramFilesFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path)))
        return CStringW();
    return CStringW(path);
}
