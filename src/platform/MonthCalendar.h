#pragma once

#include <QCalendarWidget>

// A month calendar that shows and picks one day, with weeks beginning on Sunday. The selected date is
// also offered as three numbers, Month, Day and Year; setDate() moves all three at once, which never
// passes through an impossible date (31 in a 30-day month).
// Paging to another month (arrows, month menu, year box) takes the pick along: the same day of the month
// in the month now shown, or that month's last day when it is shorter. What is shown is what is picked.
class MonthCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    int Month() const { return selectedDate().month(); }
    int Day() const { return selectedDate().day(); }
    int Year() const { return selectedDate().year(); }
    void setDate(const QDate& date);

private:
    void followPage(int year, int month);
};
