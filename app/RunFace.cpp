#include "app/RunFace.h"

#include "framework/Reporter.h"
#include "platform/ErrorText.h"
#include "platform/UserSession.h"
#include "res/Texts.h"

RunFace ChooseRunFace(CommandLine& options)
{
    RunFace face;
    if (options.bSilent)
        return face;
    face.bNoDesktop = UserSession::InServicesSession(face.sessionRead);
    options.bSilent = face.bNoDesktop;
    return face;
}

void NoteRunFace(const CommandLine& options, const RunFace& face, Reporter& notes)
{
    if (!face.sessionRead)  // the run goes on as on a desktop
        notes.Note(CStringW::FromText(Texts::kLogSessionUnknown) + DescribeError(face.sessionRead.Code()));
    if (face.bNoDesktop)
        notes.Note(Texts::kLogNoDesktop);
    if (options.bNoRestart)
        notes.Note(Texts::kLogNoRestartIgnored);
}
