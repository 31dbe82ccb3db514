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

} // namespace ReportPeriod
