// The activation window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "client/ActivationDialog.h"
#include "platform/BusyPointer.h"

#include <QtTest>

class ActivationDialogTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ShownWindow<ActivationDialog>> w;

    // Sends a code; the pointer must stay busy until the box has been closed.
    void activate(const QString& code)
    {
        w->child("txtSignupCode")->setText(code);
        w->click("cmdActivate");
        QCOMPARE(w->boxes.shown.size(), 1);
        QCOMPARE(w->boxes.shown[0].pointer, Qt::WaitCursor);
        QVERIFY(!BusyPointer::isBusy() && !QApplication::overrideCursor());
    }
    bool pendingIsActive() { return w->service.server().findAccount("pending@example.com")->active; }

private slots:
    void init() { w = std::make_unique<ShownWindow<ActivationDialog>>(); }
    void cleanup() { w.reset(); }

    // Enter in the box and Escape do nothing, Enter on the focused button presses it; the close box closes.
    void keys()
    {
        QTest::keyClick(w->child("txtSignupCode"), Qt::Key_Return);
        QTest::keyClick(w->window.get(), Qt::Key_Escape);
        QVERIFY(w->service.apiRequests().isEmpty() && w->window->isVisible());
        w->child<QPushButton>("cmdActivate")->setFocus();
        QTest::keyClick(w->child<QPushButton>("cmdActivate"), Qt::Key_Return);
        QCOMPARE(w->service.apiRequests().size(), 1);
        w->window->close();
        QCOMPARE(w->emitted->names, QStringList({"rejected", "finished"}));
    }

    void notActivated_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("status"); // as ServiceAndBoxes::answer() takes it
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong code, trimmed, quote doubled")
            << " a'b " << 0 << QByteArray() << "a''b"
            << "The activation code a'b was not found or has already been used.";
        QTest::newRow("refusal without ERRMSG")
            << "QM7K2P9X" << 200 << QByteArray("<r><STATUS>ERROR</STATUS></r>") << "QM7K2P9X"
            << "The Activation Code is not valid";
        QTest::newRow("not XML") << "QM7K2P9X" << 200 << QByteArray("<html>502") << "QM7K2P9X"
                                 << "Unable to communicate with the Quillmoor server.  Check your internet connection "
                                    "or try again later.";
    }
    void notActivated()
    {
        QFETCH(QString, typed);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, sent);
        QFETCH(QString, text);
        w->answer(status, body);
        activate(typed);
        QCOMPARE(w->service.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&signupcode=" + sent});
        QCOMPARE(boxLines(w->boxes), QStringList{"Invalid Activation Code | Critical | " + text});
        QVERIFY(w->emitted->names.isEmpty() && w->window->isVisible());
        QCOMPARE(w->child("txtSignupCode")->text(), typed);
        QVERIFY(!pendingIsActive());
    }

    // The hand-over comes after the notice.
    void activated()
    {
        activate(" qm7k2p9x ");
        QCOMPARE(w->service.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&signupcode=qm7k2p9x"});
        QCOMPARE(boxLines(w->boxes), QStringList{"Lumenpane | Information | Your account has now been activated"});
        QCOMPARE(w->emittedBeforeBoxes + w->emitted->names, QStringList({"", "activated"}));
        QVERIFY(pendingIsActive());
    }
};

QTEST_MAIN(ActivationDialogTest)
#include "tst_activationdialog.moc"
