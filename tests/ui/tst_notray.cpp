// Without a notification area (bare X display) the icon cannot be shown, so closing the main window ends
// the program instead of leaving it running unseen.
#include "ViewerTesting.h"
#include "platform/Program.h"

class NoTrayTest : public ViewerTesting::ViewerTest {
    Q_OBJECT
private slots:
    void closingTheMainWindowEndsTheProgram()
    {
        QVERIFY2(!QSystemTrayIcon::isSystemTrayAvailable(), "a notification area runs on this display");
        start();
        frmMain* w = ViewerTesting::signIn();
        QVERIFY(w && w->isVisible() && Form<frmSysTray>::isLoaded());
        QVERIFY(boxes->shown.isEmpty());
        w->close();
        QVERIFY(Program::isEnding());
        QVERIFY(!Form<frmSysTray>::isLoaded());
    }
};

QTEST_MAIN(NoTrayTest)
#include "tst_notray.moc"
