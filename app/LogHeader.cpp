#include "app/LogHeader.h"

#include "deploy/PayloadLocation.h"
#include "platform/BuildConstants.h"
#include "platform/Processes.h"
#include "platform/UserSession.h"
#include "res/Texts.h"
#include "version.h"

void NoteLogHeader(Reporter& notes, const char* pszProgram, bool bPayload)
{
    notes.Note(CStringW::FormatText(Texts::kLogStartFormat, CStringW::FromText(pszProgram).GetString(),
                                    CStringW::FromText(SETUP_VERSION_TEXT).GetString(),
                                    Processes::CommandLineW().GetString()));
    CString line;
    line.Format(Texts::kLogEditionFormat, g_nTargetBits, static_cast<int>(sizeof(void*) * 8));
    notes.Note(line);
    const UserSession::RunContext context = UserSession::ReadRunContext();
    line.Format(Texts::kLogWindowsFormat, context.nMajor, context.nMinor, context.nBuild,
                context.bWindows64 ? Texts::kLogWindows64 : Texts::kLogWindows32);
    notes.Note(line);
    CString session = Texts::kLogUnknown;
    if (context.bSessionKnown)
        session.Format("%lu", context.nSession);
    notes.Note(CStringW::FormatText(
        Texts::kLogAccountFormat,
        context.strAccount.IsEmpty() ? CStringW::FromText(Texts::kLogUnknown).GetString() : context.strAccount.GetString(),
        CStringW::FromText(context.bElevated ? Texts::kLogElevated : Texts::kLogNotElevated).GetString(),
        CStringW::FromText(session).GetString()));
    if (!bPayload)
        return;
    CStringW payload;
    if (LocatePayload(payload))
        notes.Note(CStringW::FormatText(Texts::kLogPayloadFormat, payload.GetString()));
    else
        notes.Note(Texts::kLogNoPayload);
}
