#include "frmSpecifyDates.h"

#include "forms.h"

#include <QCloseEvent>

// Being built: the calendars and Apply arrive in the next change.
frmSpecifyDates::frmSpecifyDates() : QWidget(nullptr), Calendar1(nullptr), Calendar2(nullptr), Label2(nullptr), cmdApply(nullptr)
{
    setObjectName(QStringLiteral("frmSpecifyDates"));
    setWindowTitle(QStringLiteral("Date Selector"));
}
void frmSpecifyDates::Form_Load() {}
void frmSpecifyDates::cmdApply_Click() {}
void frmSpecifyDates::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    Form<frmSpecifyDates>::unload();
}
void frmSpecifyDates::showEvent(QShowEvent* event) { QWidget::showEvent(event); }
