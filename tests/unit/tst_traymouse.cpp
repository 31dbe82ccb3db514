// What the tray icon does with the mouse event codes a notification area reports.
#include "client/TrayMouse.h"

#include <QtTest>

using namespace TrayMouse;

class TrayMouseTest : public QObject {
    Q_OBJECT
private slots:
    void sequences_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("actions"); // one per code
        const int none = int(Action::None), restore = int(Action::Restore), menu = int(Action::ShowMenu);
        QTest::newRow("right click, twice") << QList<int>{516, 517, 516, 517} << QList<int>{none, menu, none, menu};
        QTest::newRow("a movement in between") << QList<int>{516, 512, 517} << QList<int>{none, none, none};
        // Qt's activation reasons stand for the codes a notification area would have sent.
        QTest::newRow("click") << codesFor(QSystemTrayIcon::Trigger) << QList<int>{none, none};
        QTest::newRow("double click") << codesFor(QSystemTrayIcon::DoubleClick) << QList<int>{restore, none};
        QTest::newRow("context") << codesFor(QSystemTrayIcon::Context) << QList<int>{none, menu};
        QTest::newRow("middle click") << codesFor(QSystemTrayIcon::MiddleClick) << QList<int>{none, none};
    }
    void sequences()
    {
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, actions);
        Decoder decoder;
        QList<int> got;
        for (int code : codes)
            got << int(decoder.feed(code));
        QCOMPARE(got, actions);
    }
};

QTEST_GUILESS_MAIN(TrayMouseTest)
#include "tst_traymouse.moc"
