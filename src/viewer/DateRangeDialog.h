#pragma once

#include <QDate>
#include <QDialog>
#include <memory>

class MonthCalendar;
namespace Ui {
class DateRangeDialog;
}

// Picks a report period of any length on two month calendars, first day left and last day right, or sets both
// calendars to one of the usual periods with a quick pick. Applying a valid range hands it on and closes; anything
// else is refused with a message and the picks stay for another try. The selector stores nothing itself.
class DateRangeDialog : public QDialog {
    Q_OBJECT
public:
    DateRangeDialog(const QDate& from, const QDate& to, QWidget* parent = nullptr);
    ~DateRangeDialog() override;

public slots:
    void applyRange();

signals:
    void rangeApplied(const QDate& from, const QDate& to);

private:
    std::unique_ptr<Ui::DateRangeDialog> m_ui;
};
