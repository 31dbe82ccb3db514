#pragma once

#include <QWidget>

class MonthCalendar;
class QLabel;
class QPushButton;

// Picks a report period of any length on two month calendars: first day left, last day right.
class frmSpecifyDates : public QWidget {
    Q_OBJECT
public:
    frmSpecifyDates();

    void Form_Load();
    void cmdApply_Click();

    MonthCalendar* Calendar1;
    MonthCalendar* Calendar2;
    QLabel* Label2;
    QPushButton* cmdApply;

protected:
    void closeEvent(QCloseEvent* event) override;
};
