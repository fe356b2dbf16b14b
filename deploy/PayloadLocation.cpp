#include "deploy/PayloadLocation.h"

#include "platform/Files.h"

namespace {
const wchar_t kPayloadFolder[] = L"\\Data";
const wchar_t kPayloadMarker[] = L"\\Trabex2010.arx";
}

bool LocatePayload(CStringW& strPayload)
{
    const CStringW module = Files::ModulePathW();
    const CStringW folder = module.Left(module.ReverseFind(L'\\'));
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

int GetPathKind(CString strPath)
{
    return GetPathKind(CStringW::FromText(strPath));
}

void ClearReadOnly(CString strPath)
{
    ClearReadOnly(CStringW::FromText(strPath));
}
