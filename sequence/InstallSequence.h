// One installation, whatever the face: the checks before anything is written,
// then the copy, the registrations, the support files and the Apps & Features
// entry. It shows no window itself: it tells and asks through a Reporter.
#pragma once

#include <windows.h>

#include "acad/AcadRegistry.h"
#include "framework/Reporter.h"
#include "deploy/PayloadList.h"
#include "platform/HeldFiles.h"
#include "sequence/ExitCodes.h"

// The folder the dialog proposes and an unattended run takes without /D=.
constexpr char kDefaultInstallFolder[] = "C:\\Trabex";

// What the user (or the command line) chose.
struct InstallChoice {
    CStringW strFolder;  // the chosen folder, as typed (any language); "\Q-Ostrevo" is appended
    ReleaseTicks ticked;
    // The folder was named on the command line (/D=): an administrator chose it,
    // so an unattended run takes it even where others could replace it (noted).
    bool bNamedOnCommandLine = false;
};

// What the checks decided, and all the steps work from.
struct InstallPlan {
    CString strInstallFolder;  // <chosen folder>\Q-Ostrevo, without a trailing backslash
    CStringW strInstallFolderW;  // the same, as the wide functions of Windows take it
    CStringW strPayload;       // the payload folder (wide: it lies wherever the user
                               // unpacked the program); empty when there is none
    bool bExisted = false;     // the install folder was there before (an earlier
                               // install's, owned by administrators): only the
                               // add-on's own files are replaced in it
    ReleaseTicks ticked;
    // The program carries the list of its payload: only the files it names are
    // installed, as they were packaged. Each was checked before anything was
    // written and is held in listed against change (write, rename, delete) until
    // the plan goes; every copy reads it through that handle.
    bool bListed = false;
    HeldFiles listed;
    // The same check begun before the first Install click (PrepareInstall);
    // the click takes its verdict.
    EarlyPayloadCheck early;
};

// What the Install click needs, made ready while the dialog waits for the user:
// the check of the payload against the program's list begun on a thread of its
// own (nothing when the program carries no list or no payload lies beside it;
// Check takes its verdict), and the folder of the program every user runs
// looked up.
void PrepareInstall(InstallPlan& plan);

class InstallSequence {
public:
    // record is the discovery's; reporter must outlive the sequence.
    InstallSequence(CAcadRegistry& record, Reporter& reporter);

    // Every check of an Install click: AutoCAD running (when bCheckAcad), the
    // folder's form and length, the rights (registry and AutoCAD's folders), the
    // payload against the program's list (when it carries one); then the install
    // folder is made and must exist. kExitDone with the plan, or the
    // refusal, already told.
    ExitCode Check(const InstallChoice& choice, bool bCheckAcad, InstallPlan& plan);
    // Protects the folder and installs; the completion (or failure) messages are told.
    ExitCode Run(const InstallPlan& plan);

private:
    // The volume keeps access lists, and no folder on the way is open to others
    // (or the user accepts it).
    ExitCode CheckFolderSafety(const CStringW& strChosen, bool bNamedOnCommandLine);
    // Asks about a folder others could replace (No by default); with nobody at
    // the keyboard the answer is Yes only for a folder an administrator named.
    bool AskAboutFolderAtRisk(const CStringW& strFolder, const CStringW& strOwner, bool bNamedByAdmin);
    // With the program's list: every listed file is there, held, and as packaged
    // (size and SHA-256); otherwise the file is named and nothing is installed.
    ExitCode CheckListedPayload(InstallPlan& plan);
    // Makes the chosen folder (one level) and the install folder, protected.
    ExitCode MakeFolders(const CString& strChosen, bool bNamedOnCommandLine, InstallPlan& plan);
    // The steps of Run, each recording what it could not do in failures.
    // Protects the install folder before anything is placed in it and makes
    // the library when missing (bLibraryMade).
    bool Protect(const InstallPlan& plan, FailureList& failures, bool& bLibraryMade);
    // Copies the payload and the library (the list of placed files kept first)
    // and opens a library made by this run to users; not kExitDone when the
    // install stops.
    ExitCode Copy(const InstallPlan& plan, bool bLibraryMade, FailureList& failures, unsigned long long& nBytes);
    // The Apps & Features entry, for an installation whose files take nBytes.
    void List(const CString& strFolder, unsigned long long nBytes, FailureList& failures);
    CAcadRegistry& m_record;
    bool m_bRiskAccepted = false;  // the user (or the command line) took a folder at risk
    Reporter& m_reporter;
};

// The chosen folder in the program's code page, which the registrations and the
// trusted paths hold. A folder with a character GBK lacks is refused (told, with
// the folder as typed) before anything is written: it would reach AutoCAD as
// another path.
bool ChosenFolderAsText(const CStringW& strFolder, CString& strText, Reporter& reporter);

// Writes what discovery found (release, AutoCAD folder, product key) as notes.
void NoteReleasesFound(const CAcadRegistry& record, Reporter& reporter);
// The releases the dialog offers ticked: found on this machine and served by
// this edition (the 32-bit edition withholds 2017 and later).
void OfferedReleases(const CAcadRegistry& record, ReleaseTicks& ticked);
// True when the 32-bit edition hides release k altogether.
bool IsWithheld(int k);
