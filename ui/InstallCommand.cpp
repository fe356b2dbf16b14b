// The Install and Browse commands of the setup dialog.
#include "ui/SetupDialog.h"

void Dlg_Setup::OnInstall()
{
}

bool Dlg_Setup::RunInstallSequence()
{
    return false;
}

void Dlg_Setup::OnBrowse()
{
    UpdateInstallButton();
}
