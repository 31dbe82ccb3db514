#pragma once

#include <QDate>
#include <optional>

// Today's date on the computer's clock (local time), which tests can pin to a fixed day.
class Clock {
public:
    static QDate today();
    static void setTestToday(std::optional<QDate> day);
};
