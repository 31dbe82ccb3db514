// The first program with its real viewer, on a display without a notification area.
#include "TestSupport.h"
#include "client/Client.h"
#include "platform/Program.h"

#include <QSignalSpy>
#include <QtTest>
#include <signal.h>

class ClientTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;
    std::unique_ptr<Client> client;

    static QWidget* login()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmLogin" && w->isVisible())
                return w;
        return nullptr;
    }
    int requests(const QString& what) const { return int(service->server().requestLog().filter(what).size()); }
    // Signs in with the demo account; true once the sign-in window has gone, the main window being up.
    bool signIn()
    {
        if (!QTest::qWaitFor(login, 10000))
            return false;
        login()->findChild<QLineEdit*>("txtEmail")->setText(" demo@example.com ");
        login()->findChild<QLineEdit*>("txtPassword")->setText("demo123");
        QTest::mouseClick(login()->findChild<QPushButton*>("cmdLogin"), Qt::LeftButton);
        return QTest::qWaitFor([] { return !login(); }, 60000) && client->isSignedIn();
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        client = std::make_unique<Client>();
        client->start();
    }
    void cleanup()
    {
        client.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        service.reset();
    }

    // The viewer starts with the sign-in window and is the one that shows the session: the sign-in window goes
    // once the main window is up, after the site list was asked for the second time and the start page opened.
    void signInHandsOverToTheViewer()
    {
        QTRY_VERIFY_WITH_TIMEOUT(client->viewer().isRunning(), 10000);
        const qint64 warm = client->viewer().processId();
        QVERIFY(signIn());
        QCOMPARE(client->viewer().processId(), warm);
        QCOMPARE(requests("cmd=listsites&email=demo@example.com&password=demo123"), 2);
        QTRY_COMPARE_WITH_TIMEOUT(requests("GET /lumenpane/default2.asp?autologin=true&email=demo@example.com&"
                                           "password=demo123"),
                                  1, 60000);
        QVERIFY(boxes->shown.isEmpty() && client->session().from == QDate::currentDate());
    }

    // A viewer that dies leaves the program running; restoring starts a new one on the start page, without
    // asking for the site list again. Last, as it ends the program: closing the main window ends both programs.
    void aViewerThatDiesIsReplacedOnRestore()
    {
        QVERIFY(signIn());
        const qint64 first = client->viewer().processId();
        // Restore reaches the viewer as it goes, before its end is noticed: Show is lost with it.
        ::kill(pid_t(first), SIGKILL);
        client->restore();
        QTRY_COMPARE_WITH_TIMEOUT(requests("GET /lumenpane/default2.asp?autologin=true"), 2, 60000);
        QVERIFY(client->viewer().processId() != first);
        QCOMPARE(requests("cmd=listsites"), 2);
        emit client->viewer().received({HandOver::Kind::MainClosed, {}, false});
        QVERIFY(Program::isEnding() && !client->viewer().isRunning());
    }
};

QTEST_MAIN(ClientTest)
#include "tst_client.moc"
