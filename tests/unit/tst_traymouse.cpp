// What the tray icon does with the mouse event codes a notification area reports.
#include "tray/TrayMouse.h"

#include <QtTest>

using TrayMouse::Action;

class TrayMouseTest : public QObject {
    Q_OBJECT
private slots:
    void sequences_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("actions"); // one per code
        const int none = int(Action::None), restore = int(Action::Restore), menu = int(Action::ShowMenu);
        QTest::newRow("left double click") << QList<int>{513, 514, 515, 514} << QList<int>{none, none, restore, none};
        QTest::newRow("right click, twice") << QList<int>{516, 517, 516, 517} << QList<int>{none, menu, none, menu};
        QTest::newRow("a movement in between") << QList<int>{516, 512, 517} << QList<int>{none, none, none};
        QTest::newRow("a release alone") << QList<int>{517} << QList<int>{none};
        // Qt's activation reasons stand for the codes a notification area would have sent.
        using Icon = QSystemTrayIcon;
        QTest::newRow("activated: click") << TrayMouse::codesFor(Icon::Trigger) << QList<int>{none, none};
        QTest::newRow("activated: double click") << TrayMouse::codesFor(Icon::DoubleClick) << QList<int>{restore, none};
        QTest::newRow("activated: context") << TrayMouse::codesFor(Icon::Context) << QList<int>{none, menu};
        QTest::newRow("activated: middle click") << TrayMouse::codesFor(Icon::MiddleClick) << QList<int>{none, none};
    }
    void sequences()
    {
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, actions);
        TrayMouse::Decoder decoder;
        QList<int> got;
        for (int code : codes)
            got << int(decoder.feed(code));
        QCOMPARE(got, actions);
    }
};

QTEST_GUILESS_MAIN(TrayMouseTest)
#include "tst_traymouse.moc"
