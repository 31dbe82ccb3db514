// Signing in, closing to the notification area and coming back, with trayer providing the notification
// area on the test's X display. The last test ends the program, so it comes last.
#include "ActivationRequest.h"
#include "TestSupport.h"
#include "ViewerTesting.h"
#include "platform/AppIcon.h"
#include "platform/Clock.h"
#include "platform/Program.h"
#include "platform/SingleInstance.h"
#include "platform/XmlDocument.h"
#include "session/Session.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

using namespace ViewerTesting;

class TrayTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<Trayer> trayer;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    frmMain* signIn() {
        frmLogin* login = Form<frmLogin>::show();
        login->txtEmail->setText("demo@example.com");
        login->txtPassword->setText("demo123");
        QTest::mouseClick(login->cmdLogin, Qt::LeftButton);
        frmMain* w = Form<frmMain>::existing();
        if (!w || !QTest::qWaitForWindowExposed(w))
            qWarning("the main window did not appear");
        return w;
    }
    int startPageRequests() const {
        return int(service->server().requestLog().count(
            "GET /lumenpane/default2.asp?autologin=true&email=demo@example.com&password=demo123"));
    }
    // The widget that stands for the icon in an X11 notification area, when Qt draws it itself.
    static QWidget* iconWidget() {
        for (QWidget* w : QApplication::allWidgets())
            if (qstrcmp(w->metaObject()->className(), "QSystemTrayIconSys") == 0 && w->isVisible())
                return w;
        return nullptr;
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        Clock::setTestToday(QDate(2007, 11, 8));
        ActivationRequest::listen();
        trayer = std::make_unique<Trayer>();
        QVERIFY2(trayer->ready(), "trayer did not provide a notification area");
    }
    void cleanupTestCase() { trayer.reset(); }
    void init() {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        XmlDocument::setTransferTimeoutMs(30000);
        Session::reset();
    }
    void cleanup() {
        unloadAll();
        boxes.reset();
        service.reset();
    }

    // The hand-over after a successful sign-in: tray, main window (hidden, start page opening), the site
    // list, then the sign-in window goes and the main window shows.
    void signInHandsOverInOrder() {
        QStringList stateAtSecondList;
        QObject::connect(&service->server(), &SimServer::requestLogged, this, [&](const QString& line) {
            if (line.contains("cmd=listsites") && service->apiRequests().size() == 2) {
                frmMain* w = Form<frmMain>::existing();
                stateAtSecondList << QString("tray %1").arg(Form<frmSysTray>::isLoaded())
                                  << QString("main %1 shown %2").arg(w != nullptr).arg(w && w->isVisible())
                                  << QString("login %1").arg(Form<frmLogin>::isLoaded())
                                  << (w ? w->browser->lastAddress() : QString());
            }
        });
        frmMain* w = signIn();
        QVERIFY(w);
        QCOMPARE(stateAtSecondList, (QStringList{"tray 1", "main 1 shown 0", "login 1", Session::StartUrl}));
        QVERIFY(!Form<frmLogin>::isLoaded());
        QVERIFY(w->isVisible());
        QCOMPARE(siteMenu(w),
                 (QStringList{"0 &Refresh List", "11 example.com", "12 shop.example.com", "13 blog.example.org"}));
        QCOMPARE(service->apiRequests().size(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(startPageRequests(), 1, 60000);

        frmSysTray* tray = Form<frmSysTray>::existing();
        QVERIFY(!tray->isVisible());
        QCOMPARE(tray->windowTitle(), QString("System Tray"));
        QVERIFY(tray->trayIcon->isVisible());
        QCOMPARE(tray->trayIcon->toolTip(), QString("Quillmoor Lumenpane"));
        QCOMPARE(tray->trayIcon->contextMenu(), tray->mnuPopup);
        QCOMPARE(tray->trayIcon->icon().cacheKey(), w->windowIcon().cacheKey());
        QCOMPARE(tray->mnuPopup->title(), QString("Popup Menu"));
        QStringList items;
        for (QAction* a : tray->mnuPopup->actions())
            items << a->objectName() + " " + a->text();
        QCOMPARE(items, (QStringList{"popupRestore Restore", "popupExit Exit"}));
        QTRY_VERIFY_WITH_TIMEOUT(iconWidget() != nullptr, 20000);
    }

    // Closing only unloads the main window; a double click on the icon brings a fresh one that opens the
    // start page again and knows no sites until asked.
    void closeAndRestoreByDoubleClick() {
        frmMain* w = signIn();
        QTRY_COMPARE_WITH_TIMEOUT(startPageRequests(), 1, 60000);
        QPointer<frmMain> old = w;
        QVERIFY(w->close());
        QVERIFY(!Form<frmMain>::isLoaded());
        QTRY_VERIFY(old.isNull());
        QVERIFY(!Program::isEnding());
        QVERIFY(Form<frmSysTray>::existing()->trayIcon->isVisible());

        QTRY_VERIFY_WITH_TIMEOUT(iconWidget() != nullptr, 20000);
        QTest::mouseDClick(iconWidget(), Qt::LeftButton, {}, QPoint(4, 4));
        QTRY_VERIFY(Form<frmMain>::isLoaded() && Form<frmMain>::existing()->isVisible());
        frmMain* fresh = Form<frmMain>::existing();
        QCOMPARE(fresh->browser->lastAddress(), Session::StartUrl);
        QCOMPARE(siteMenu(fresh), QStringList{"0 &Refresh List"});
        QTRY_COMPARE_WITH_TIMEOUT(startPageRequests(), 2, 60000);
        QCOMPARE(service->apiRequests().size(), 2);

        // "Restore" while the window is open brings the same window forward.
        Form<frmSysTray>::existing()->popupRestore->trigger();
        QCOMPARE(Form<frmMain>::existing(), fresh);
    }

    // A right click opens the one menu the platform shows; its Restore brings the window back.
    void rightClickMenuRestores() {
        signIn()->close();
        frmSysTray* tray = Form<frmSysTray>::existing();
        QTRY_VERIFY_WITH_TIMEOUT(iconWidget() != nullptr, 20000);
        QTest::mouseClick(iconWidget(), Qt::RightButton, {}, QPoint(4, 4));
        QTRY_VERIFY(tray->mnuPopup->isVisible());
        QCOMPARE(QApplication::activePopupWidget(), tray->mnuPopup);
        QTest::mouseClick(tray->mnuPopup, Qt::LeftButton, {},
                          tray->mnuPopup->actionGeometry(tray->popupRestore).center());
        QTRY_VERIFY(Form<frmMain>::isLoaded() && Form<frmMain>::existing()->isVisible());
        QVERIFY(!tray->mnuPopup->isVisible());
    }

    // A second copy of the program asks this one to come forward: the sign-in window before signing in,
    // the main window (a fresh one after a close) afterwards.
    void secondCopyBringsTheWindowForward() {
        frmLogin* login = Form<frmLogin>::show();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        login->hide();
        emit SingleInstance::instance().activationRequested();
        QTRY_VERIFY(login->isVisible());

        signIn()->close();
        QVERIFY(!Form<frmMain>::isLoaded());
        emit SingleInstance::instance().activationRequested();
        QTRY_VERIFY(Form<frmMain>::isLoaded() && Form<frmMain>::existing()->isVisible());
        QCOMPARE(Form<frmMain>::existing()->browser->lastAddress(), Session::StartUrl);
    }

    // Last: "Exit" in the tray menu removes the icon and ends the program.
    void exitRemovesTheIconAndEnds() {
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
