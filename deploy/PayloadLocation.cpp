#include "deploy/PayloadLocation.h"

#include "platform/Files.h"

namespace {
const char kPayloadFolder[] = "\\Data";
const char kPayloadMarker[] = "\\Trabex2010.arx";
}

bool FindPayloadFolder(CString& strPayload)
{
    const CString module = Files::ModulePath();
    const CString folder = module.Left(module.ReverseFind('\\'));
    if (GetPathKind(folder + kPayloadFolder) == kPathFolder) {
        strPayload = folder + kPayloadFolder;
        return true;
    }
    if (GetPathKind(folder + kPayloadMarker) == kPathFile) {
        strPayload = folder;
        return true;
    }
    return false;
}
