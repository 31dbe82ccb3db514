#pragma once

#include <QDate>
#include <optional>

// The fixed report periods of the "Change Date" menu, in its order, relative to today; the quick picks of the
// date selector; and the period a report is compared with. Weeks begin on Sunday whatever the locale says.
namespace ReportPeriod {

enum Index { Today = 0, Yesterday = 1, ThisWeek = 2, LastWeek = 3, ThisMonth = 4, LastMonth = 5, Specify = 6 };

struct Range {
    QDate from;
    QDate to;
    bool operator==(const Range&) const = default;
};

// The period of a menu index 0 to 5; nothing for "Specify" and any other index, which set no period.
std::optional<Range> forIndex(int index, const QDate& today);

// The date selector's quick picks, in the order it shows them. The first four end today.
enum class Pick { Last7Days, Last30Days, MonthToDate, YearToDate, LastYear };
Range forPick(Pick pick, const QDate& today);

// The period just before the range, of the same kind: whole calendar months step back by as many months (a month
// against the month before, a year against the year before); a Sunday-to-Sunday week of eight days steps back a
// week, so that it shares its first Sunday with the range; any other range is compared with as many days just
// before it.
Range previous(const Range& range);

} // namespace ReportPeriod
