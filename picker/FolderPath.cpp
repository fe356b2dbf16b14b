#include "picker/FolderPath.h"

#include "framework/Window.h"
#include "platform/Files.h"
#include "res/Texts.h"

int ConfirmFolder(const char* pszPath)
{
    int r = CreateFolderPath(pszPath, TRUE);
    if (r == kFolderOk) {
        if (Files::Exists(CStringW::FromText(pszPath)))
            return kFolderOk;
        CString question;
        question.Format(Texts::kPickerCreateFormat, pszPath);
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return kFolderDeclined;
        r = CreateFolderPath(pszPath, FALSE);
        if (r == kFolderOk)
            return kFolderOk;
    }
    CString warning;
    warning.Format(r == kFolderInvalid ? Texts::kPickerInvalidFormat : Texts::kPickerCannotCreateFormat,
                   pszPath);
    AfxMessageBox(warning, MB_OK | MB_ICONEXCLAMATION);
    return r;
}
