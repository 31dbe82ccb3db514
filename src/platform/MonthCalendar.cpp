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
}

void MonthCalendar::setDate(const QDate& date)
{
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}
