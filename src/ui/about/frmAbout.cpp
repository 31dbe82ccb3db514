#include "frmAbout.h"

#include "forms.h"

#include <QCloseEvent>

// Being built: the labels and the system information button arrive in the next change.
frmAbout::frmAbout() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmAbout"));
}
void frmAbout::Form_Load() { setWindowTitle(QStringLiteral("About Lumenpane")); }
void frmAbout::cmdOK_Click() { Form<frmAbout>::unload(); }
void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }
void frmAbout::StartSysInfo() {}
void frmAbout::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    Form<frmAbout>::unload();
}
void frmAbout::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
