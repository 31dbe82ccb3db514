// The date selector with real windows: picking, refusing and applying a range, and its one instance.
#include "TestSupport.h"
#include "forms.h"
#include "main/frmMain.h"
#include "main/frmSpecifyDates.h"
#include "platform/Clock.h"
#include "platform/MonthCalendar.h"
#include "platform/WebView.h"
#include "session/Protocol.h"
#include "session/Session.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class SpecifyDatesTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    static frmMain* main() { return Form<frmMain>::get(); }
    static QString report(const QString& query) {
        return Session::ReportServerBase() + "/lumenpane/default2.asp?" + query;
    }
    // Options, Change Date, Specify.
    static frmSpecifyDates* openSelector() {
        main()->mnuChgDate_Click(6);
        return Form<frmSpecifyDates>::existing();
    }
    static frmSpecifyDates* pick(const QDate& first, const QDate& last) {
        frmSpecifyDates* w = openSelector();
        w->Calendar1->setDate(first);
        w->Calendar2->setDate(last);
        return w;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void initTestCase() {
        service = std::make_unique<LocalService>();
        Clock::setTestToday(QDate(2008, 3, 12));
    }
    void init() {
        boxes = std::make_unique<MessageRecorder>();
        Session::FromDate = Session::ToDate = QDate(2008, 3, 12);
        Session::StartUrl = Protocol::StartPageAddress("demo@example.com", "demo123");
    }
    void cleanup() {
        Form<frmSpecifyDates>::unload();
        Form<frmMain>::unload();
        settle();
        boxes.reset();
    }
    void cleanupTestCase() { service.reset(); }

    void layout() {
        frmSpecifyDates* w = openSelector();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        saveShot(w, "frmSpecifyDates");
        QCOMPARE(w->windowTitle(), QString("Date Selector"));
        QCOMPARE(w->size(), QSize(513, 195));
        QCOMPARE(w->Label2->text(), QString("through"));
        QCOMPARE(w->cmdApply->text(), QString("&Apply"));
        QCOMPARE(w->Calendar1->firstDayOfWeek(), Qt::Sunday);
        QCOMPARE(clippedCaptions(w), QStringList());
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Resizing leaves every control where it was.
        w->resize(700, 300);
        QCOMPARE(w->cmdApply->geometry(), QRect(416, 168, 89, 25));
    }

    void opensOnTheCurrentPeriod() {
        main()->mnuChgDate_Click(5); // Last Month, in March 2008: February of a leap year
        frmSpecifyDates* w = openSelector();
        QCOMPARE(w->Calendar1->selectedDate(), QDate(2008, 2, 1));
        QCOMPARE(w->Calendar2->selectedDate(), QDate(2008, 2, 29));
        QCOMPARE(w->Calendar2->monthShown(), 2);
        QCOMPARE(QList<int>({w->Calendar1->Month(), w->Calendar2->Day(), w->Calendar2->Year()}),
                 QList<int>({2, 29, 2008}));
    }

    void apply_data() {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QString>("query");
        QTest::newRow("October 2007") << QDate(2007, 10, 1) << QDate(2007, 10, 31)
                                      << "FDate=10/1/2007&LDate=10/31/2007";
        QTest::newRow("one day") << QDate(2008, 3, 7) << QDate(2008, 3, 7) << "FDate=3/7/2008&LDate=3/7/2008";
    }
    void apply() {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(QString, query);
        QTest::mouseClick(pick(first, last)->cmdApply, Qt::LeftButton);
        QVERIFY(boxes->shown.isEmpty());
        QCOMPARE(main()->browser->lastAddress(), report(query));
        QCOMPARE(Session::FromDate, first);
        QCOMPARE(Session::ToDate, last);
        QVERIFY(!Form<frmSpecifyDates>::isLoaded());
        // The next selector starts from the applied range.
        settle();
        frmSpecifyDates* again = openSelector();
        QCOMPARE(again->Calendar1->selectedDate(), first);
        QCOMPARE(again->Calendar2->selectedDate(), last);
    }

    void firstDayAfterTheLastIsRefusedButKept() {
        const QString before = main()->browser->lastAddress();
        QTest::mouseClick(pick(QDate(2008, 3, 8), QDate(2008, 3, 7))->cmdApply, Qt::LeftButton);
        QCOMPARE(boxLines(*boxes), QStringList{"Lumenpane | None | You must select a valid date range"});
        QVERIFY(Form<frmSpecifyDates>::isLoaded());
        QCOMPARE(main()->browser->lastAddress(), before);
        // The refused range stays stored, and a site switch reports on it.
        QCOMPARE(Session::FromDate, QDate(2008, 3, 8));
        QCOMPARE(Session::ToDate, QDate(2008, 3, 7));
        main()->mnuRefreshWSList_Click(1234);
        QCOMPARE(main()->browser->lastAddress(), report("FDate=3/8/2008&Ldate=3/7/2008&chSiteID=1234"));
    }

    // Specify while open brings the same selector with the picks; closing stores nothing.
    void picksLiveUntilTheSelectorCloses() {
        frmSpecifyDates* w = pick(QDate(2008, 1, 5), QDate(2008, 3, 12));
        QCOMPARE(openSelector(), w);
        QCOMPARE(w->Calendar1->selectedDate(), QDate(2008, 1, 5));
        w->close();
        QVERIFY(!Form<frmSpecifyDates>::isLoaded());
        QCOMPARE(Session::FromDate, QDate(2008, 3, 12));
        settle();
        QCOMPARE(openSelector()->Calendar1->selectedDate(), QDate(2008, 3, 12));
    }

    void applyWhileTheMainWindowIsClosed() {
        frmSpecifyDates* w = openSelector();
        Form<frmMain>::unload(); // closed to the tray
        settle();
        w->Calendar1->setDate(QDate(2007, 10, 1));
        w->Calendar2->setDate(QDate(2007, 10, 31));
        QTest::mouseClick(w->cmdApply, Qt::LeftButton);
        frmMain* fresh = Form<frmMain>::existing();
        QVERIFY(fresh && !fresh->isVisible());
        QCOMPARE(fresh->browser->lastAddress(), report("FDate=10/1/2007&LDate=10/31/2007"));
    }
};

QTEST_MAIN(SpecifyDatesTest)
#include "tst_specifydates.moc"
