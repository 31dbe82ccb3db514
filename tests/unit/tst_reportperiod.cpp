// The fixed report periods around week, month and year boundaries.
#include "session/ReportPeriod.h"

#include <QtTest>

using ReportPeriod::forIndex;

class ReportPeriodTest : public QObject {
    Q_OBJECT
private slots:
    void periods_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("index");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        const QDate sunday(2008, 3, 2), saturday(2008, 3, 8);
        QTest::newRow("Sunday: this week, Sunday to Sunday") << sunday << 2 << sunday << QDate(2008, 3, 9);
        QTest::newRow("Sunday: last week") << sunday << 3 << QDate(2008, 2, 24) << QDate(2008, 3, 1);
        QTest::newRow("Saturday: this week") << saturday << 2 << sunday << QDate(2008, 3, 9);
        QTest::newRow("Saturday: last week") << saturday << 3 << QDate(2008, 2, 24) << QDate(2008, 3, 1);
        QTest::newRow("January: last month in the year before")
            << QDate(2008, 1, 15) << 5 << QDate(2007, 12, 1) << QDate(2007, 12, 31);
        QTest::newRow("the 1st of January: yesterday")
            << QDate(2008, 1, 1) << 1 << QDate(2007, 12, 31) << QDate(2007, 12, 31);
        QTest::newRow("March of a leap year: last month")
            << QDate(2008, 3, 20) << 5 << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("March 2007: last month") << QDate(2007, 3, 20) << 5 << QDate(2007, 2, 1) << QDate(2007, 2, 28);
        QTest::newRow("March 31st: last month") << QDate(2008, 3, 31) << 5 << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("31st: this month") << QDate(2007, 10, 31) << 4 << QDate(2007, 10, 1) << QDate(2007, 10, 31);
        QTest::newRow("1st: this month") << QDate(2007, 11, 1) << 4 << QDate(2007, 11, 1) << QDate(2007, 11, 30);
        QTest::newRow("Specify: no period") << sunday << 6 << QDate() << QDate();
        QTest::newRow("unknown: no period") << sunday << 7 << QDate() << QDate();
    }
    void periods()
    {
        QFETCH(QDate, today);
        QFETCH(int, index);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const auto range = forIndex(index, today);
        using Days = std::pair<QDate, QDate>;
        QCOMPARE(range ? Days(range->from, range->to) : Days(), Days(from, to));
    }

    // Every day of a few years: weeks run from a Sunday and follow each other, months are whole.
    void everyDayKeepsTheShapes()
    {
        QStringList broken;
        for (QDate d(2007, 1, 1); d <= QDate(2009, 12, 31); d = d.addDays(1)) {
            const auto week = *forIndex(ReportPeriod::ThisWeek, d), lastWeek = *forIndex(ReportPeriod::LastWeek, d);
            const auto month = *forIndex(ReportPeriod::ThisMonth, d), lastMonth = *forIndex(ReportPeriod::LastMonth, d);
            if (week.from.dayOfWeek() != 7 || week.from > d || d >= week.to || week.from.daysTo(week.to) != 7 ||
                lastWeek.from.daysTo(lastWeek.to) != 6 || lastWeek.to.addDays(1) != week.from ||
                month.from != QDate(d.year(), d.month(), 1) || month.to.month() != d.month() ||
                month.to.addDays(1).day() != 1 || lastMonth.to.addDays(1) != month.from || lastMonth.from.day() != 1 ||
                lastMonth.from.month() != lastMonth.to.month())
                broken << d.toString(Qt::ISODate);
        }
        QCOMPARE(broken, QStringList());
    }
};

QTEST_GUILESS_MAIN(ReportPeriodTest)
#include "tst_reportperiod.moc"
