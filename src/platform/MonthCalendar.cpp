#include "MonthCalendar.h"

#include <QTextCharFormat>
#include <QToolButton>

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setGridVisible(false);

    QFont dates(QStringLiteral("Arial"));
    dates.setStyleHint(QFont::SansSerif);
    dates.setPointSizeF(8.25);
    setFont(dates);

    QTextCharFormat dayNames = headerTextFormat();
    QFont bold = dates;
    bold.setBold(true);
    dayNames.setFont(bold);
    setHeaderTextFormat(dayNames);

    // The month-and-year title sits in the navigation bar's two buttons.
    QFont title = dates;
    title.setPointSizeF(12);
    title.setBold(true);
    for (const char* name : {"qt_calendar_monthbutton", "qt_calendar_yearbutton", "qt_calendar_yearedit"})
        if (QWidget* part = findChild<QWidget*>(QLatin1String(name)))
            part->setFont(title);

    // The arrows show only an icon; a screen reader needs their names.
    if (QWidget* previous = findChild<QWidget*>(QLatin1String("qt_calendar_prevmonth")))
        previous->setAccessibleName(tr("Previous month"));
    if (QWidget* next = findChild<QWidget*>(QLatin1String("qt_calendar_nextmonth")))
        next->setAccessibleName(tr("Next month"));

    // Otherwise the pick stays on a page the user has left, and Apply would read a day no longer in view.
    connect(this, &QCalendarWidget::currentPageChanged, this, &MonthCalendar::followPage);
}

void MonthCalendar::setDate(const QDate& date)
{
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void MonthCalendar::followPage(int year, int month)
{
    const QDate picked = selectedDate();
    const QDate first(year, month, 1);
    if (!picked.isValid() || !first.isValid())
        return;
    const QDate moved(year, month, qMin(picked.day(), first.daysInMonth()));
    if (moved != picked)
        setSelectedDate(moved); // kept within the calendar's range by the widget
}
