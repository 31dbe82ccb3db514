// The first program with its real viewer, on a display without a notification area. Signing in, closing to the
// tray, a viewer killed while the window is shown: e2e/reportviewer.
#include "TestSupport.h"
#include "client/Client.h"

#include <QtTest>
#include <signal.h>

class ClientTest : public QObject {
    Q_OBJECT
    TempSettings settings;

    static QWidget* login()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmLogin" && w->isVisible())
                return w;
        return nullptr;
    }

private slots:
    // Restore reaches the viewer as it goes, before its end is noticed: Show is lost with it, and a new viewer
    // opens the start page, without asking for the site list again. Closing the main window ends both programs.
    void aViewerThatDiesIsReplacedOnRestore()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        ServiceAndBoxes service;
        service.server().setLoadBeacon(true);
        const auto requests = [&](const QString& what) { return service.server().requestLog().filter(what).size(); };
        Client client;
        client.start();
        QVERIFY(QTest::qWaitFor(login, 10000));
        login()->findChild<QLineEdit*>("txtEmail")->setText(" demo@example.com ");
        login()->findChild<QLineEdit*>("txtPassword")->setText("demo123");
        QTest::mouseClick(login()->findChild<QPushButton*>("cmdLogin"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([] { return !login(); }, 60000) && client.isSignedIn());
        // Killed once its page has loaded: killed halfway through it, the next viewer's page stalls against this
        // in-process server now and then (never against a server of its own process: e2e/reportviewer).
        QTRY_COMPARE_WITH_TIMEOUT(requests("GET /_sim/loaded"), 1, 60000);
        const qint64 first = client.viewer().processId();
        ::kill(pid_t(first), SIGKILL);
        client.restore();
        QTRY_COMPARE_WITH_TIMEOUT(requests("GET /lumenpane/default2.asp?autologin=true"), 2, 60000);
        QVERIFY(client.viewer().processId() != first);
        QCOMPARE(requests("cmd=listsites"), 2);
        emit client.viewer().received({HandOver::Kind::MainClosed, {}, false});
        QVERIFY(client.hasEnded() && !client.viewer().isRunning());
    }
};

LUMENPANE_TEST_MAIN(ClientTest)
#include "tst_client.moc"
