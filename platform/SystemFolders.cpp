#include "platform/SystemFolders.h"

#include <shlobj.h>

#include "platform/Files.h"

CString ProgramFilesFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path)))
        return CString();
    CString text;
    PathToText(CStringW(path), text);  // empty when GBK cannot hold it: no look-alike path
    return text;
}
