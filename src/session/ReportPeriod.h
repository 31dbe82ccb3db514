#pragma once

#include <QDate>
#include <optional>

// The fixed report periods of the "Change Date" menu, in its order, relative to today.
// Weeks begin on Sunday whatever the locale says.
namespace ReportPeriod {

enum Index { Today = 0, Yesterday = 1, ThisWeek = 2, LastWeek = 3, ThisMonth = 4, LastMonth = 5, Specify = 6 };

struct Range {
    QDate from;
    QDate to;
    bool operator==(const Range&) const = default;
};

// The period of a menu index 0 to 5; nothing for "Specify" and any other index, which set no period.
std::optional<Range> forIndex(int index, const QDate& today);

} // namespace ReportPeriod
