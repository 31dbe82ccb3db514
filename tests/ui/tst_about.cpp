// The about box: its labels, its one instance, and the system information button.
#include "TestSupport.h"
#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "forms.h"
#include "main/frmMain.h"
#include "platform/SystemRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class AboutTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    static frmAbout* openAbout() {
        Form<frmMain>::get()->mnuAbout_Click();
        return Form<frmAbout>::existing();
    }

private slots:
    void initTestCase() { service = std::make_unique<LocalService>(); }
    void init() { boxes = std::make_unique<MessageRecorder>(); }
    void cleanup() {
        Form<frmAbout>::unload();
        Form<frmMain>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes.reset();
        SystemRegistry::setInstance(nullptr);
        ProgramLauncher::setInstance(nullptr);
    }
    void cleanupTestCase() { service.reset(); }

    void labelsAndLayout() {
        frmAbout* about = openAbout();
        QVERIFY(about && QTest::qWaitForWindowExposed(about));
        saveShot(about, "frmAbout");
        QCOMPARE(about->windowTitle(), QString("About Lumenpane"));
        QCOMPARE(about->lblTitle->text(), QString("Quillmoor Lumenpane (Build 40)"));
        QCOMPARE(about->lblVersion->text(), QString("Build 40"));
        QCOMPARE(QStringList({about->cmdOK->text(), about->cmdSysInfo->text()}),
                 QStringList({"OK", "&System Info..."}));
        QVERIFY(about->lblDisclaimer->text().startsWith("Warning: "));
        QVERIFY(!about->picIcon->pixmap().isNull());
        QCOMPARE(clippedCaptions(about), QStringList());
        // The main window stays usable while the box is open.
        QVERIFY(!about->isModal());
    }

    void oneBoxAtATimeReloadedAtEachOpening() {
        frmAbout* first = openAbout();
        Form<frmMain>::get()->setWindowTitle("Changed title");
        QCOMPARE(openAbout(), first);
        QCOMPARE(first->lblTitle->text(), QString("Quillmoor Lumenpane (Build 40)"));
        QTest::mouseClick(first->cmdOK, Qt::LeftButton);
        QVERIFY(!Form<frmAbout>::isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(openAbout()->lblTitle->text(), QString("Changed title"));
    }

    void systemInformation_data() {
        QTest::addColumn<bool>("toolFound");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("no tool on this platform")
            << false << QStringList{"Lumenpane | None | System Information Is Unavailable At This Time"};
        QTest::newRow("tool found: started without a box") << true << QStringList();
    }
    void systemInformation() {
        QFETCH(bool, toolFound);
        QFETCH(QStringList, shown);
        FakeRegistry registry; // the tool's own place names it
        registry.values[SysInfo::ToolKey + "|PATH"] = {SystemRegistry::TypeText, "C:\\Tools\\msinfo32.exe"};
        FakeLauncher launcher;
        SystemRegistry::setInstance(toolFound ? &registry : nullptr);
        ProgramLauncher::setInstance(toolFound ? &launcher : nullptr);
        frmAbout* about = openAbout();
        QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
        QCOMPARE(boxLines(*boxes), shown);
        QCOMPARE(launcher.started, toolFound ? QStringList{"C:\\Tools\\msinfo32.exe"} : QStringList());
        QVERIFY(Form<frmAbout>::existing() == about && about->isVisible());
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
