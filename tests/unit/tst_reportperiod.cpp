// The fixed report periods around week, month and year boundaries.
#include "session/ReportPeriod.h"

#include <QtTest>

using namespace ReportPeriod;

class ReportPeriodTest : public QObject {
    Q_OBJECT
private slots:
    void periods_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("index");
        QTest::addColumn<QDate>("from"); // invalid: no period
        QTest::addColumn<QDate>("to");
        const QDate sunday(2008, 3, 2), saturday(2008, 3, 8), nextSunday(2008, 3, 9);
        QTest::newRow("today") << saturday << int(Today) << saturday << saturday;
        QTest::newRow("1 January: yesterday")
            << QDate(2008, 1, 1) << int(Yesterday) << QDate(2007, 12, 31) << QDate(2007, 12, 31);
        QTest::newRow("Sunday: this week, to the next Sunday") << sunday << int(ThisWeek) << sunday << nextSunday;
        QTest::newRow("Saturday: last week") << saturday << int(LastWeek) << QDate(2008, 2, 24) << QDate(2008, 3, 1);
        QTest::newRow("January: last month")
            << QDate(2008, 1, 15) << int(LastMonth) << QDate(2007, 12, 1) << QDate(2007, 12, 31);
        QTest::newRow("leap March 31: last month")
            << QDate(2008, 3, 31) << int(LastMonth) << QDate(2008, 2, 1) << QDate(2008, 2, 29);
        QTest::newRow("Specify") << sunday << int(Specify) << QDate() << QDate();
        QTest::newRow("unknown") << sunday << 7 << QDate() << QDate();
    }
    void periods()
    {
        QFETCH(QDate, today);
        QFETCH(int, index);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QCOMPARE(forIndex(index, today).value_or(Range()), (Range{from, to}));
    }

    // Every day of a few years: weeks run from a Sunday and follow each other, months are whole.
    void everyDayKeepsTheShapes()
    {
        QStringList broken;
        for (QDate d(2007, 1, 1); d <= QDate(2009, 12, 31); d = d.addDays(1)) {
            const Range week = *forIndex(ThisWeek, d), lastWeek = *forIndex(LastWeek, d);
            const Range month = *forIndex(ThisMonth, d), lastMonth = *forIndex(LastMonth, d);
            if (week.from.dayOfWeek() != 7 || week.from > d || d >= week.to || week.from.daysTo(week.to) != 7 ||
                lastWeek.from.daysTo(lastWeek.to) != 6 || lastWeek.to.addDays(1) != week.from ||
                month.from != QDate(d.year(), d.month(), 1) || month.to.addDays(1) != month.from.addMonths(1) ||
                lastMonth.to.addDays(1) != month.from || lastMonth.from != month.from.addMonths(-1))
                broken << d.toString(Qt::ISODate);
        }
        QCOMPARE(broken, QStringList());
    }
};

QTEST_GUILESS_MAIN(ReportPeriodTest)
#include "tst_reportperiod.moc"
