// Signing in, closing to the notification area and coming back, with trayer providing the notification
// area on the test's X display. The last test ends the program, so it comes last.
#include "ActivationRequest.h"
#include "ViewerTesting.h"
#include "platform/Program.h"
#include "platform/SingleInstance.h"

#include <QProcess>

using namespace ViewerTesting;

class TrayTest : public ViewerTest {
    Q_OBJECT
    QProcess trayer; // the notification area

    // The widget that stands for the icon in an X11 notification area, when Qt draws it itself.
    static QWidget* iconWidget()
    {
        for (QWidget* w : QApplication::allWidgets())
            if (qstrcmp(w->metaObject()->className(), "QSystemTrayIconSys") == 0 && w->isVisible())
                return w;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        ActivationRequest::listen();
        trayer.start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "120",
                                "--heighttype", "pixel", "--height", "28"});
        QVERIFY2(trayer.waitForStarted(10000), "trayer did not start");
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 20000);
    }
    void cleanupTestCase()
    {
        trayer.kill();
        trayer.waitForFinished(5000);
    }
    void init() { start(); }
    void cleanup() { stop(); }

    // After a sign-in: tray, main window (hidden, start page opening), the site list, then the sign-in
    // window goes and the main window shows.
    void signInHandsOverInOrder()
    {
        QStringList atSecondList; // what is loaded, what shows, and the main window's page
        connect(&service->server(), &SimServer::requestLogged, this, [&](const QString& line) {
            if (line.contains("cmd=listsites") && service->apiRequests().size() == 2) {
                const frmMain* w = Form<frmMain>::existing();
                atSecondList = {Form<frmSysTray>::isLoaded() ? "tray" : "", w ? "main" : "",
                                Form<frmLogin>::isLoaded() ? "login" : "", w && w->isVisible() ? "shown" : "",
                                w ? w->browser->lastAddress() : ""};
            }
        });
        frmMain* w = signIn();
        QVERIFY(w && w->isVisible());
        QCOMPARE(atSecondList, (QStringList{"tray", "main", "login", "", Session::StartUrl}));
        QVERIFY(!Form<frmLogin>::isLoaded());
        QCOMPARE(siteMenu(w).size(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(requestsFor(startPage), 1, 60000);
        QCOMPARE(service->apiRequests().size(), 2);

        frmSysTray* tray = Form<frmSysTray>::existing();
        QCOMPARE(tray->trayIcon->contextMenu(), tray->mnuPopup);
        QTRY_VERIFY_WITH_TIMEOUT(iconWidget() != nullptr, 20000);
    }

    // Closing only unloads the main window; each way back brings a fresh one that opens the start page
    // again and knows no sites until asked.
    void closeAndRestore_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("double click") << "double click";
        QTest::newRow("second copy") << "second copy";
    }
    void closeAndRestore()
    {
        QFETCH(QString, how);
        QPointer<frmMain> old = signIn();
        QTRY_COMPARE_WITH_TIMEOUT(requestsFor(startPage), 1, 60000);
        QVERIFY(old->close());
        QTRY_VERIFY(old.isNull());
        QVERIFY(!Form<frmMain>::isLoaded() && !Program::isEnding());
        frmSysTray* tray = Form<frmSysTray>::existing();
        QTRY_VERIFY_WITH_TIMEOUT(iconWidget() != nullptr, 20000);
        if (how == "double click")
            QTest::mouseDClick(iconWidget(), Qt::LeftButton, {}, QPoint(4, 4));
        else
            emit SingleInstance::instance().activationRequested();
        QTRY_VERIFY(Form<frmMain>::isLoaded() && Form<frmMain>::existing()->isVisible());
        frmMain* fresh = Form<frmMain>::existing();
        QCOMPARE(fresh->browser->lastAddress(), Session::StartUrl);
        QCOMPARE(siteMenu(fresh), QStringList{"0 &Refresh List"});
        QTRY_COMPARE_WITH_TIMEOUT(requestsFor(startPage), 2, 60000);
        QCOMPARE(service->apiRequests().size(), 2);
        // "Restore" while the window is open brings the same window forward.
        tray->popupRestore->trigger();
        QCOMPARE(Form<frmMain>::existing(), fresh);
    }

    // Last: "Exit" in the tray menu removes the icon and ends the program.
    void exitRemovesTheIconAndEnds()
    {
        signIn();
        frmSysTray* tray = Form<frmSysTray>::existing();
        QPointer<QSystemTrayIcon> icon = tray->trayIcon;
        tray->popupExit->trigger();
        QVERIFY(Program::isEnding());
        QVERIFY(!Form<frmSysTray>::isLoaded());
        QVERIFY(!icon || !icon->isVisible());
        QTRY_VERIFY(iconWidget() == nullptr);
    }
};

QTEST_MAIN(TrayTest)
#include "tst_tray.moc"
