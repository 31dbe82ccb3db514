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

    frmMain* main() { return Form<frmMain>::get(); }
    frmSpecifyDates* openSelector()
    {
        main()->mnuChgDate_Click(6);
        return Form<frmSpecifyDates>::existing();
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void initTestCase()
    {
        service = std::make_unique<LocalService>();
        Clock::setTestToday(QDate(2008, 3, 12));
    }
    void init()
    {
        boxes = std::make_unique<MessageRecorder>();
        Session::FromDate = Session::ToDate = QDate(2008, 3, 12);
        Session::StartUrl = Protocol::StartPageAddress("demo@example.com", "demo123");
    }
    void cleanup()
    {
        Form<frmSpecifyDates>::unload();
        Form<frmMain>::unload();
        settle();
        boxes.reset();
    }
    void cleanupTestCase() { service.reset(); }

    void layout()
    {
        frmSpecifyDates* w = openSelector();
        QVERIFY(w && w->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(w));
        saveShot(w, "frmSpecifyDates");
        QCOMPARE(w->windowTitle(), QString("Date Selector"));
        QCOMPARE(w->size(), QSize(513, 195));
        QCOMPARE(w->Calendar1->geometry(), QRect(0, 0, 233, 169));
        QCOMPARE(w->Calendar2->geometry(), QRect(280, 0, 233, 169));
        QCOMPARE(w->Label2->text(), QString("through"));
        QCOMPARE(w->cmdApply->text(), QString("&Apply"));
        QCOMPARE(w->cmdApply->geometry(), QRect(416, 168, 89, 25));
        QVERIFY(!w->cmdApply->isDefault());
        QCOMPARE(w->Calendar1->firstDayOfWeek(), Qt::Sunday);
        QVERIFY(w->Label2->fontMetrics().horizontalAdvance(w->Label2->text()) <= w->Label2->width());
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Resizing leaves every control where it was.
        w->resize(700, 300);
        QCOMPARE(w->cmdApply->geometry(), QRect(416, 168, 89, 25));
    }

    void opensOnTheCurrentPeriod()
    {
        main()->mnuChgDate_Click(5); // Last Month, in March 2008: February of a leap year
        frmSpecifyDates* w = openSelector();
        QCOMPARE(w->Calendar1->selectedDate(), QDate(2008, 2, 1));
        QCOMPARE(w->Calendar2->selectedDate(), QDate(2008, 2, 29));
        QCOMPARE(w->Calendar2->monthShown(), 2);
        QCOMPARE(w->Calendar1->Month(), 2);
        QCOMPARE(w->Calendar2->Day(), 29);
        QCOMPARE(w->Calendar2->Year(), 2008);
    }

    void apply_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QString>("address");
        QTest::newRow("October 2007") << QDate(2007, 10, 1) << QDate(2007, 10, 31)
                                      << "/lumenpane/default2.asp?FDate=10/1/2007&LDate=10/31/2007";
        QTest::newRow("one day") << QDate(2008, 3, 7) << QDate(2008, 3, 7)
                                 << "/lumenpane/default2.asp?FDate=3/7/2008&LDate=3/7/2008";
        QTest::newRow("across a year end") << QDate(2007, 12, 30) << QDate(2008, 1, 2)
                                           << "/lumenpane/default2.asp?FDate=12/30/2007&LDate=1/2/2008";
    }
    void apply()
    {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(QString, address);
        frmSpecifyDates* w = openSelector();
        w->Calendar1->setDate(first);
        w->Calendar2->setDate(last);
        QTest::mouseClick(w->cmdApply, Qt::LeftButton);
        QVERIFY(boxes->shown.isEmpty());
        QCOMPARE(main()->browser->lastAddress(), Session::ReportServerBase() + address);
        QCOMPARE(Session::FromDate, first);
        QCOMPARE(Session::ToDate, last);
        QVERIFY(!Form<frmSpecifyDates>::isLoaded());
        // The next selector starts from the applied range.
        settle();
        frmSpecifyDates* again = openSelector();
        QCOMPARE(again->Calendar1->selectedDate(), first);
        QCOMPARE(again->Calendar2->selectedDate(), last);
    }

    void firstDayAfterTheLastIsRefusedButKept()
    {
        frmSpecifyDates* w = openSelector();
        const QString before = main()->browser->lastAddress();
        w->Calendar1->setDate(QDate(2008, 3, 8));
        w->Calendar2->setDate(QDate(2008, 3, 7));
        QTest::mouseClick(w->cmdApply, Qt::LeftButton);
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, QString("You must select a valid date range"));
        QCOMPARE(boxes->shown[0].title, QString("Lumenpane"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::None);
        QVERIFY(Form<frmSpecifyDates>::isLoaded());
        QCOMPARE(main()->browser->lastAddress(), before);
        // The refused range stays stored, and a site switch reports on it.
        QCOMPARE(Session::FromDate, QDate(2008, 3, 8));
        QCOMPARE(Session::ToDate, QDate(2008, 3, 7));
        main()->mnuRefreshWSList_Click(1234);
        QCOMPARE(main()->browser->lastAddress(),
                 Session::ReportServerBase() + "/lumenpane/default2.asp?FDate=3/8/2008&Ldate=3/7/2008&chSiteID=1234");
    }

    void specifyWhileOpenKeepsThePicks()
    {
        frmSpecifyDates* w = openSelector();
        w->Calendar1->setDate(QDate(2008, 1, 5));
        QCOMPARE(openSelector(), w);
        QCOMPARE(w->Calendar1->selectedDate(), QDate(2008, 1, 5));
        QCOMPARE(Session::FromDate, QDate(2008, 3, 12)); // nothing stored before Apply
    }

    void closingChangesNothing()
    {
        frmSpecifyDates* w = openSelector();
        w->Calendar1->setDate(QDate(2008, 1, 5));
        w->close();
        QVERIFY(!Form<frmSpecifyDates>::isLoaded());
        QCOMPARE(Session::FromDate, QDate(2008, 3, 12));
        settle();
        QCOMPARE(openSelector()->Calendar1->selectedDate(), QDate(2008, 3, 12));
    }

    void applyWhileTheMainWindowIsClosed()
    {
        frmSpecifyDates* w = openSelector();
        Form<frmMain>::unload(); // closed to the tray
        settle();
        w->Calendar1->setDate(QDate(2007, 10, 1));
        w->Calendar2->setDate(QDate(2007, 10, 31));
        QTest::mouseClick(w->cmdApply, Qt::LeftButton);
        QVERIFY(Form<frmMain>::isLoaded());
        frmMain* fresh = Form<frmMain>::existing();
        QVERIFY(!fresh->isVisible());
        QCOMPARE(fresh->browser->lastAddress(),
                 Session::ReportServerBase() + "/lumenpane/default2.asp?FDate=10/1/2007&LDate=10/31/2007");
    }
};

QTEST_MAIN(SpecifyDatesTest)
#include "tst_specifydates.moc"
