// The fixed report periods around week, month and year boundaries.
#include "session/ReportPeriod.h"

#include <QtTest>

using ReportPeriod::forIndex;
using ReportPeriod::Range;

class ReportPeriodTest : public QObject {
    Q_OBJECT
private slots:
    void periods_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("index");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");

        const QDate sunday(2008, 3, 2); // a Sunday
        QTest::newRow("Sunday: today") << sunday << 0 << sunday << sunday;
        QTest::newRow("Sunday: yesterday") << sunday << 1 << QDate(2008, 3, 1) << QDate(2008, 3, 1);
        QTest::newRow("Sunday: this week is eight days, Sunday to Sunday")
            << sunday << 2 << sunday << QDate(2008, 3, 9);
        QTest::newRow("Sunday: last week ends yesterday") << sunday << 3 << QDate(2008, 2, 24) << QDate(2008, 3, 1);

        const QDate saturday(2008, 3, 8);
        QTest::newRow("Saturday: this week") << saturday << 2 << QDate(2008, 3, 2) << QDate(2008, 3, 9);
        QTest::newRow("Saturday: last week") << saturday << 3 << QDate(2008, 2, 24) << QDate(2008, 3, 1);
        QTest::newRow("Wednesday across a year end: this week")
            << QDate(2008, 1, 2) << 2 << QDate(2007, 12, 30) << QDate(2008, 1, 6);
        QTest::newRow("Wednesday across a year end: last week")
            << QDate(2008, 1, 2) << 3 << QDate(2007, 12, 23) << QDate(2007, 12, 29);

        QTest::newRow("January: last month is December of the year before")
            << QDate(2008, 1, 15) << 5 << QDate(2007, 12, 1) << QDate(2007, 12, 31);
        QTest::newRow("January: yesterday on the 1st")
            << QDate(2008, 1, 1) << 1 << QDate(2007, 12, 31) << QDate(2007, 12, 31);
        QTest::newRow("March of a leap year: last month")
            << QDate(2008, 3, 20) << 5 << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("March 2007: last month") << QDate(2007, 3, 20) << 5 << QDate(2007, 2, 1) << QDate(2007, 2, 28);
        QTest::newRow("March 31st: last month") << QDate(2008, 3, 31) << 5 << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("31st: this month") << QDate(2007, 10, 31) << 4 << QDate(2007, 10, 1) << QDate(2007, 10, 31);
        QTest::newRow("1st: this month") << QDate(2007, 11, 1) << 4 << QDate(2007, 11, 1) << QDate(2007, 11, 30);
        QTest::newRow("February of a leap year: this month")
            << QDate(2008, 2, 10) << 4 << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("December: this month") << QDate(2007, 12, 5) << 4 << QDate(2007, 12, 1) << QDate(2007, 12, 31);
    }
    void periods() {
        QFETCH(QDate, today);
        QFETCH(int, index);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const auto range = forIndex(index, today);
        QVERIFY(range);
        QCOMPARE(range->from, from);
        QCOMPARE(range->to, to);
        if (index == ReportPeriod::ThisWeek || index == ReportPeriod::LastWeek)
            QCOMPARE(range->from.dayOfWeek(), 7);
    }

    // Every day of a few years: the weeks always start on a Sunday and the months cover the whole month.
    void everyDayKeepsTheShapes() {
        for (QDate d(2007, 1, 1); d <= QDate(2009, 12, 31); d = d.addDays(1)) {
            const Range thisWeek = *forIndex(ReportPeriod::ThisWeek, d);
            const Range lastWeek = *forIndex(ReportPeriod::LastWeek, d);
            const Range lastMonth = *forIndex(ReportPeriod::LastMonth, d);
            QVERIFY(thisWeek.from <= d && d < thisWeek.to);
            QCOMPARE(thisWeek.from.daysTo(thisWeek.to), 7);
            QCOMPARE(lastWeek.to.addDays(1), thisWeek.from);
            QCOMPARE(lastWeek.to.dayOfWeek(), 6);
            QCOMPARE(lastMonth.to.addDays(1), QDate(d.year(), d.month(), 1));
            QCOMPARE(lastMonth.from.day(), 1);
        }
    }

    void specifyAndUnknownIndexesSetNoPeriod() {
        QVERIFY(!forIndex(ReportPeriod::Specify, QDate(2008, 3, 1)));
        QVERIFY(!forIndex(-1, QDate(2008, 3, 1)));
        QVERIFY(!forIndex(7, QDate(2008, 3, 1)));
    }
};

QTEST_GUILESS_MAIN(ReportPeriodTest)
#include "tst_reportperiod.moc"
