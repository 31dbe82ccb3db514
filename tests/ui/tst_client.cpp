// The first program with the real viewer as its child: the hand-over at sign-in, a viewer that dies, restoring,
// and the ways the program ends. The display has no notification area.
#include "TestSupport.h"
#include "client/Client.h"
#include "platform/Program.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <signal.h>

using HandOver::Kind;

class ClientTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;
    std::unique_ptr<Client> client;

    static QWidget* window(const char* name)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name) && w->isVisible())
                return w;
        return nullptr;
    }
    int requests(const QString& what) const { return int(service->server().requestLog().filter(what).size()); }
    // Signs in with the demo account and waits until the viewer's window is up and the sign-in window gone.
    bool signIn()
    {
        if (!QTest::qWaitFor([] { return window("frmLogin"); }, 10000))
            return false;
        QWidget* login = window("frmLogin");
        login->findChild<QLineEdit*>("txtEmail")->setText(" demo@example.com ");
        login->findChild<QLineEdit*>("txtPassword")->setText("demo123");
        QTest::mouseClick(login->findChild<QPushButton*>("cmdLogin"), Qt::LeftButton);
        return QTest::qWaitFor([] { return !window("frmLogin"); }, 60000) && client->isSignedIn();
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        QApplication::setQuitOnLastWindowClosed(false);
    }
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

    // The viewer starts with the sign-in window; the sign-in window goes only once the main window is up,
    // after the site list was asked for the second time and the start page opened.
    void signInHandsOverToTheViewer()
    {
        QTRY_VERIFY_WITH_TIMEOUT(client->viewer().isRunning(), 10000);
        const qint64 warm = client->viewer().processId();
        QSignalSpy said(&client->viewer(), &ViewerProcess::received);
        QVERIFY(signIn());
        QCOMPARE(client->viewer().processId(), warm);
        QCOMPARE(requests("cmd=listsites&email=demo@example.com&password=demo123"), 2);
        QTRY_COMPARE_WITH_TIMEOUT(requests("GET /lumenpane/default2.asp?autologin=true&email=demo@example.com&"
                                           "password=demo123"),
                                  1, 60000);
        QVERIFY(boxes->shown.isEmpty());
        QCOMPARE(client->session().from, QDate::currentDate());
    }

    // A viewer that dies leaves the program running; restoring starts a new one on the start page, without
    // asking for the site list again.
    void aViewerThatDiesIsReplacedOnRestore()
    {
        QVERIFY(signIn());
        const qint64 first = client->viewer().processId();
        QSignalSpy ended(&client->viewer(), &ViewerProcess::ended);
        ::kill(pid_t(first), SIGKILL);
        QVERIFY(ended.wait(10000));
        QVERIFY(!Program::isEnding());
        client->restore();
        QSignalSpy said(&client->viewer(), &ViewerProcess::received);
        QTRY_VERIFY_WITH_TIMEOUT(std::any_of(said.cbegin(), said.cend(),
                                             [](const QList<QVariant>& args) {
                                                 return args.first().value<HandOver::Message>().kind == Kind::Shown;
                                             }),
                                 60000);
        QVERIFY(client->viewer().processId() != first);
        QTRY_COMPARE_WITH_TIMEOUT(requests("GET /lumenpane/default2.asp?autologin=true"), 2, 60000);
        QCOMPARE(requests("cmd=listsites"), 2);
    }

    // Last, as it ends the program: without a notification area, closing the main window ends both programs.
    // (Exit in either program, which takes the same way out, is walked end to end.)
    void closingTheMainWindowWithoutATrayEndsBoth()
    {
        QVERIFY(signIn());
        emit client->viewer().received({Kind::MainClosed, {}, false});
        QVERIFY(Program::isEnding());
        QVERIFY(!client->viewer().isRunning());
    }
};

QTEST_MAIN(ClientTest)
#include "tst_client.moc"
