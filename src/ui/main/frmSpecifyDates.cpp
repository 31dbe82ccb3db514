#include "frmSpecifyDates.h"

#include "forms.h"
#include "frmMain.h"
#include "platform/AppIcon.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/MonthCalendar.h"
#include "platform/WebView.h"
#include "session/Protocol.h"
#include "session/Session.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

using FormLayout::place;

frmSpecifyDates::frmSpecifyDates()
    // A tool window: not in the taskbar, a title and a close box only, and a border that can be dragged.
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSpecifyDates"));
    setWindowTitle(QStringLiteral("Date Selector"));
    setWindowIcon(AppIcon::icon());
    setFont(FormLayout::formFont());
    FormLayout::centreWhenFirstShown(this);
    resize(FormLayout::px(7695), FormLayout::px(2925));

    Calendar1 = new MonthCalendar(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    place(Calendar1, 0, 0, 3495, 2535);

    Calendar2 = new MonthCalendar(this);
    Calendar2->setObjectName(QStringLiteral("Calendar2"));
    place(Calendar2, 4200, 0, 3495, 2535);

    Label2 = new QLabel(QStringLiteral("through"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    place(Label2, 3600, 1080, 735, 255);

    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setAutoDefault(false);
    place(cmdApply, 6240, 2520, 1335, 375);

    setTabOrder(Calendar1, Calendar2);
    setTabOrder(Calendar2, cmdApply);

    connect(cmdApply, &QPushButton::clicked, this, &frmSpecifyDates::cmdApply_Click);
}

void frmSpecifyDates::Form_Load()
{
    Calendar1->setDate(Session::FromDate);
    Calendar2->setDate(Session::ToDate);
}

void frmSpecifyDates::cmdApply_Click()
{
    // Each day is read back from its month/day/year text; one that cannot be read leaves its date as it was.
    bool pendingError = false;
    auto readDay = [&](const MonthCalendar* calendar, QDate& into) {
        const auto day = Protocol::ParseDateText(
            QStringLiteral("%1/%2/%3").arg(calendar->Month()).arg(calendar->Day()).arg(calendar->Year()));
        if (day)
            into = *day;
        else
            pendingError = true;
    };
    readDay(Calendar1, Session::FromDate);
    readDay(Calendar2, Session::ToDate);

    // A refused range stays stored: a later site switch reports on it.
    if (pendingError || Session::FromDate > Session::ToDate) {
        MessageBox::show(QStringLiteral("You must select a valid date range"), MessageBox::Icon::None);
        return;
    }
    Form<frmMain>::get()->browser->Navigate(Protocol::CustomRangeAddress(Session::FromDate, Session::ToDate));
    Form<frmSpecifyDates>::unload();
}

void frmSpecifyDates::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    Form<frmSpecifyDates>::unload();
}
