#include "Clock.h"

namespace {
std::optional<QDate> g_today;
}

QDate Clock::today()
{
    return g_today ? *g_today : QDate::currentDate();
}
void Clock::setTestToday(std::optional<QDate> day)
{
    g_today = day;
}
