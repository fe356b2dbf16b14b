#include "deploy/PayloadLocation.h"

#include "platform/Files.h"
#include "res/Texts.h"

namespace {
const char kAcadImage[] = "acad.exe";
const char kPayloadFolder[] = "\\Data";
const char kPayloadMarker[] = "\\Trabex2010.arx";
}

bool IsAcadRunning()
{
    CString target(kAcadImage);
    target.MakeLower();
    return Processes::AnyImageName([&](const char* pszImage) {
        CString image(pszImage);
        image.MakeLower();
        return image.Find(target) >= 0;
    });
}

bool LocatePayload(CString& strPayload)
{
    WindowReporter boxes(nullptr, nullptr);
    return LocatePayload(strPayload, boxes);
}

bool LocatePayload(CString& strPayload, Reporter& reporter)
{
    if (FindPayloadFolder(strPayload))
        return true;
    reporter.Tell(Texts::kPayloadMissing, Texts::kCaptionSetup);
    return false;
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

int GetPathKind(CString strPath)
{
    FileFinder finder;
    if (!finder.First(strPath))
        return kPathMissing;
    return finder.IsFolder() ? kPathFolder : kPathFile;
}

void ClearReadOnly(CString strPath)
{
    const DWORD attributes = Files::GetAttributes(strPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        Files::SetAttributes(strPath, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}
