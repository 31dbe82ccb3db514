// What the tray icon does with the mouse event codes a notification area reports.
#include "tray/TrayMouse.h"

#include <QtTest>

using TrayMouse::Action;

class TrayMouseTest : public QObject {
    Q_OBJECT
private slots:
    void sequences_data() {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("actions"); // one per code
        const int none = int(Action::None), restore = int(Action::Restore), menu = int(Action::ShowMenu);
        QTest::newRow("left double click restores")
            << QList<int>{513, 514, 515, 514} << QList<int>{none, none, restore, none};
        QTest::newRow("right press then release opens the menu") << QList<int>{516, 517} << QList<int>{none, menu};
        QTest::newRow("a movement in between keeps it closed")
            << QList<int>{516, 512, 517} << QList<int>{none, none, none};
        QTest::newRow("a release alone does nothing") << QList<int>{517} << QList<int>{none};
        QTest::newRow("single left click") << QList<int>{513, 514} << QList<int>{none, none};
        QTest::newRow("right double click") << QList<int>{516, 517, 518, 517} << QList<int>{none, menu, none, none};
        QTest::newRow("release after a left press") << QList<int>{513, 517} << QList<int>{none, none};
        QTest::newRow("twice in a row") << QList<int>{516, 517, 516, 517} << QList<int>{none, menu, none, menu};
    }
    void sequences() {
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, actions);
        TrayMouse::Decoder decoder;
        QCOMPARE(decoder.previous(), 0);
        QList<int> got;
        for (int code : codes)
            got << int(decoder.feed(code));
        QCOMPARE(got, actions);
        QCOMPARE(decoder.previous(), codes.last());
    }

    // Qt's activation reasons stand for the codes a notification area would have sent.
    void activations_data() {
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("action");
        QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << int(Action::None);
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << int(Action::Restore);
        QTest::newRow("context") << int(QSystemTrayIcon::Context) << int(Action::ShowMenu);
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << int(Action::None);
        QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << int(Action::None);
    }
    void activations() {
        QFETCH(int, reason);
        QFETCH(int, action);
        TrayMouse::Decoder decoder;
        Action strongest = Action::None;
        for (int code : TrayMouse::codesFor(QSystemTrayIcon::ActivationReason(reason))) {
            const Action a = decoder.feed(code);
            if (a != Action::None)
                strongest = a;
        }
        QCOMPARE(int(strongest), action);
    }
};

QTEST_GUILESS_MAIN(TrayMouseTest)
#include "tst_traymouse.moc"
