// The Install and Browse commands of the setup dialog.
#include "ui/SetupDialog.h"

#include "acad/AcadRegistry.h"
#include "deploy/PayloadCopier.h"
#include "deploy/PayloadLocation.h"
#include "picker/FolderPath.h"
#include "picker/PathDialog.h"
#include "platform/Files.h"
#include "res/Texts.h"

bool g_bWarnHostRunning = true;

namespace {

const char kInstallSubFolder[] = "\\Q-Ostrevo";
// The longest path Windows accepts, without the terminating NUL.
constexpr int kMaxPathLength = 259;
// Progress bar of the install sequence.
constexpr short kProgressMax = 50;

// The most bytes the chosen folder may have so that everything written below
// the install folder still fits a path.
int MaxFolderLength()
{
    CString payload;
    int longest = LongestLoaderSuffix();
    if (FindPayloadFolder(payload)) {
        const int files = LongestInstalledPath(payload);
        if (files > longest)
            longest = files;
    }
    return kMaxPathLength - static_cast<int>(sizeof kInstallSubFolder - 1) - longest;
}

// Lines of the failure message: enough to act on, never a wall of text.
constexpr int kMaxFailuresShown = 8;

} // namespace

void Dlg_Setup::ReportWriteFailures(const CStringArray& failures)
{
    CString text;
    text.Format(Texts::kWriteFailedFormat, failures.JoinLines(kMaxFailuresShown).GetString());
    ShowMessageBox(this, text, Texts::kCaptionSetup, MB_OK);
}

void Dlg_Setup::OnInstall()
{
    if (g_bWarnHostRunning && IsAcadRunning()) {
        ShowMessageBox(this, Texts::kCloseAcad, Texts::kCaptionSetup, MB_OK);
        g_bWarnHostRunning = FALSE;
        return;
    }
    UpdateData(TRUE);

    // An empty, too long, relative or malformed folder is refused before anything
    // is made: AutoCAD would otherwise be handed a module path it cannot load.
    if (m_strInstallPath.IsEmpty()) {
        ShowMessageBox(this, Texts::kFolderEmpty, Texts::kCaptionSetup, MB_OK);
        return;
    }
    if (m_strInstallPath.EndsWithChar('\\'))
        m_strInstallPath.Delete(m_strInstallPath.GetLength() - 1);
    const CString chosen = m_strInstallPath;
    // The length first: a long folder would also fail the form check (its buffer
    // is a path's), and the user should read why.
    const int maxLength = MaxFolderLength();
    if (chosen.GetLength() > maxLength) {
        CString text;
        text.Format(Texts::kFolderTooLongFormat, chosen.GetString(), maxLength);
        ShowMessageBox(this, text, Texts::kCaptionSetup, MB_OK);
        return;
    }
    if (CreateFolderPath(chosen + kInstallSubFolder, TRUE) != kFolderOk) {
        CString text;
        text.Format(Texts::kFolderInvalidFormat, chosen.GetString());
        ShowMessageBox(this, text, Texts::kCaptionSetup, MB_OK);
        return;
    }
    // Without the rights to register, nothing is installed at all: a copy that
    // AutoCAD never loads is no installation.
    CString denied;
    if (!theAcadRegistry.CanRegister(TickedReleases(), denied)) {
        CString text;
        text.Format(Texts::kNeedAdminFormat, denied.GetString());
        ShowMessageBox(this, text, Texts::kCaptionSetup, MB_OK);
        return;
    }

    Files::MakeDir(m_strInstallPath);
    m_strInstallPath += kInstallSubFolder;
    Files::MakeDir(m_strInstallPath);

    if (!RunInstallSequence())
        return;
    ShowMessageBox(this, Texts::kInstallDone, Texts::kCaptionDone, MB_OK);
    ShowMessageBox(this, Texts::kImportOldSettings, Texts::kCaptionDone, MB_OK);
    OnOK();
}

bool Dlg_Setup::RunInstallSequence()
{
    ::ShowWindow(GetDlgItem(IDC_PATH_LABEL), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_INSTALL_PATH), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_BROWSE), SW_HIDE);
    m_progress.ShowWindow(SW_SHOWNORMAL);
    m_progress.SetRange(0, kProgressMax);
    m_progress.SetStep(1);
    m_progress.SetPos(0);

    CPayloadCopier copier(m_strInstallPath, &m_progress);
    if (!copier.CopyPayload()) {
        OnCancel();
        return false;
    }
    copier.CopyExtendedLibrary();
    m_progress.StepIt();

    theAcadRegistry.SetInstallFolder(m_strInstallPath);
    theAcadRegistry.RegisterWithAcad(
        m_bAcad2007, m_bAcad2008, m_bAcad2009, m_bAcad2010, m_bAcad2011, m_bAcad2012, m_bAcad2013,
        m_bAcad2014, m_bAcad2015, m_bAcad2016, m_bAcad2017, m_bAcad2018, m_bAcad2019, m_bAcad2020,
        m_bAcad2021, m_bAcad2022, m_bAcad2023, m_bAcad2024, m_bAcad2025, m_bAcad2026, m_bAcad2027);
    m_progress.StepIt();

    theAcadRegistry.InstallSupportFiles(
        m_bAcad2007, m_bAcad2008, m_bAcad2009, m_bAcad2010, m_bAcad2011, m_bAcad2012, m_bAcad2013,
        m_bAcad2014, m_bAcad2015, m_bAcad2016, m_bAcad2017, m_bAcad2018, m_bAcad2019, m_bAcad2020,
        m_bAcad2021, m_bAcad2022, m_bAcad2023, m_bAcad2024, m_bAcad2025, m_bAcad2026, m_bAcad2027);
    m_progress.StepIt();

    m_progress.SetPos(kProgressMax);
    if (!theAcadRegistry.m_arrWriteFailures.IsEmpty()) {
        ReportWriteFailures(theAcadRegistry.m_arrWriteFailures);
        OnCancel();  // as after an Abort: no completion message
        return false;
    }
    return true;
}

void Dlg_Setup::OnBrowse()
{
    UpdateData(TRUE);
    CPathDialog picker(Texts::kBrowseCaption, Texts::kBrowseCaption, m_strInstallPath, nullptr);
    if (picker.DoModal() == IDOK) {
        m_strInstallPath = picker.GetPathName();
        UpdateData(FALSE);
    }
    UpdateInstallButton();
}
