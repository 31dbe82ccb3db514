#include "ReportPeriod.h"

namespace ReportPeriod {

namespace {
// The latest Sunday on or before the day.
QDate weekStart(const QDate& day)
{
    // Qt numbers the days Monday 1 to Sunday 7.
    return day.addDays(-(day.dayOfWeek() % 7));
}

QDate monthStart(const QDate& day)
{
    return QDate(day.year(), day.month(), 1);
}
} // namespace

std::optional<Range> forIndex(int index, const QDate& today)
{
    switch (index) {
    case Today:
        return Range{today, today};
    case Yesterday:
        return Range{today.addDays(-1), today.addDays(-1)};
    case ThisWeek: {
        // Sunday to the following Sunday: eight days, as the service has always been asked for.
        const QDate sunday = weekStart(today);
        return Range{sunday, sunday.addDays(7)};
    }
    case LastWeek: {
        const QDate sunday = weekStart(today);
        return Range{sunday.addDays(-7), sunday.addDays(-1)};
    }
    case ThisMonth: {
        const QDate first = monthStart(today);
        return Range{first, first.addMonths(1).addDays(-1)};
    }
    case LastMonth: {
        const QDate first = monthStart(today).addMonths(-1);
        return Range{first, first.addMonths(1).addDays(-1)};
    }
    default:
        return std::nullopt;
    }
}

Range forPick(Pick pick, const QDate& today)
{
    switch (pick) {
    case Pick::Last7Days:
        return Range{today.addDays(-6), today};
    case Pick::Last30Days:
        return Range{today.addDays(-29), today};
    case Pick::MonthToDate:
        return Range{monthStart(today), today};
    case Pick::YearToDate:
        return Range{QDate(today.year(), 1, 1), today};
    case Pick::LastYear:
        return Range{QDate(today.year() - 1, 1, 1), QDate(today.year() - 1, 12, 31)};
    }
    return Range{today, today};
}

Range previous(const Range& range)
{
    const QDate& from = range.from;
    const QDate& to = range.to;
    if (from.day() == 1 && to.addDays(1).day() == 1) {
        const int months = (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
        return Range{from.addMonths(-months), from.addDays(-1)};
    }
    if (from.dayOfWeek() == Qt::Sunday && from.daysTo(to) == 7)
        return Range{from.addDays(-7), from};
    const qint64 days = from.daysTo(to) + 1;
    return Range{from.addDays(-days), from.addDays(-1)};
}

} // namespace ReportPeriod
