// Without a notification area (bare X display): the icon cannot be shown, so closing the main window ends
// the program instead of leaving it running unseen. The last test ends the program.
#include "TestSupport.h"
#include "ViewerTesting.h"
#include "platform/Clock.h"
#include "platform/Program.h"
#include "platform/XmlDocument.h"
#include "session/Session.h"

#include <QLineEdit>
#include <QPushButton>

using namespace ViewerTesting;

class NoTrayTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        Clock::setTestToday(QDate(2007, 11, 8));
        QVERIFY2(!QSystemTrayIcon::isSystemTrayAvailable(), "a notification area runs on this display");
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        XmlDocument::setTransferTimeoutMs(30000);
    }

    void closingTheMainWindowEndsTheProgram() {
        frmLogin* login = Form<frmLogin>::show();
        login->txtEmail->setText("demo@example.com");
        login->txtPassword->setText("demo123");
        QTest::mouseClick(login->cmdLogin, Qt::LeftButton);
        frmMain* w = Form<frmMain>::existing();
        QVERIFY(w && w->isVisible());
        QVERIFY(boxes->shown.isEmpty());
        QVERIFY(Form<frmSysTray>::isLoaded());

        w->close();
        QVERIFY(Program::isEnding());
        QVERIFY(!Form<frmSysTray>::isLoaded());
    }
};

QTEST_MAIN(NoTrayTest)
#include "tst_notray.moc"
