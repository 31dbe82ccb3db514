#include "DateRangeDialog.h"

#include "platform/Clock.h"
#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "platform/MonthCalendar.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"
#include "ui_DateRangeDialog.h"

#include <optional>

namespace {
// A calendar's day, read back from its month/day/year text; nothing when that is no date.
std::optional<QDate> dayOf(const MonthCalendar* calendar)
{
    return Protocol::ParseDateText(
        QStringLiteral("%1/%2/%3").arg(calendar->Month()).arg(calendar->Day()).arg(calendar->Year()));
}
} // namespace

DateRangeDialog::DateRangeDialog(const QDate& from, const QDate& to, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::DateRangeDialog>())
{
    m_ui->setupUi(this);
    // A tool window: not in the taskbar, a title and a close box only, and a border that can be dragged.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);

    m_ui->Calendar1->setDate(from);
    m_ui->Calendar2->setDate(to);
    connect(m_ui->cmdApply, &QPushButton::clicked, this, &DateRangeDialog::applyRange);

    using ReportPeriod::Pick;
    const std::pair<QPushButton*, Pick> picks[] = {{m_ui->cmdLast7Days, Pick::Last7Days},
                                                   {m_ui->cmdLast30Days, Pick::Last30Days},
                                                   {m_ui->cmdMonthToDate, Pick::MonthToDate},
                                                   {m_ui->cmdYearToDate, Pick::YearToDate},
                                                   {m_ui->cmdLastYear, Pick::LastYear}};
    for (const auto& [button, pick] : picks)
        connect(button, &QPushButton::clicked, this, [this, pick = pick] {
            // Today as it is when the pick is made: the window may have been open since before midnight.
            const ReportPeriod::Range range = ReportPeriod::forPick(pick, Clock::today());
            m_ui->Calendar1->setDate(range.from);
            m_ui->Calendar2->setDate(range.to);
        });
}

DateRangeDialog::~DateRangeDialog() = default;

void DateRangeDialog::applyRange()
{
    const std::optional<QDate> from = dayOf(m_ui->Calendar1);
    const std::optional<QDate> to = dayOf(m_ui->Calendar2);
    // A refused range is handed nowhere: the period in force stays until a valid one replaces it.
    if (!from || !to || *from > *to) {
        MessageBox::show(QStringLiteral("You must select a valid date range"), MessageBox::Icon::None);
        return;
    }
    emit rangeApplied(*from, *to);
    accept();
}
