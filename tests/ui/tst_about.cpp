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

namespace {
struct OneToolRegistry : SystemRegistry {
    std::optional<Value> read(quint32, const QString& key, const QString&, int) override
    {
        if (key == SysInfo::ToolKey)
            return Value{TypeText, "C:\\Tools\\msinfo32.exe"};
        return std::nullopt;
    }
};
struct RecordingLauncher : ProgramLauncher {
    QStringList started;
    bool isOrdinaryFile(const QString&) override { return false; }
    bool start(const QString& path) override
    {
        started << path;
        return true;
    }
};
} // namespace

class AboutTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void initTestCase() { service = std::make_unique<LocalService>(); }
    void init() { boxes = std::make_unique<MessageRecorder>(); }
    void cleanup()
    {
        Form<frmAbout>::unload();
        Form<frmMain>::unload();
        settle();
        boxes.reset();
        SystemRegistry::setInstance(nullptr);
        ProgramLauncher::setInstance(nullptr);
    }
    void cleanupTestCase() { service.reset(); }

    void labelsAndLayout()
    {
        Form<frmMain>::get()->mnuAbout_Click();
        frmAbout* about = Form<frmAbout>::existing();
        QVERIFY(about && about->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(about));
        saveShot(about, "frmAbout");
        QCOMPARE(about->windowTitle(), QString("About Lumenpane"));
        QCOMPARE(about->lblTitle->text(), QString("Quillmoor Lumenpane (Build 40)"));
        QCOMPARE(about->lblVersion->text(), QString("Build 40"));
        QCOMPARE(about->cmdOK->text(), QString("OK"));
        QCOMPARE(about->cmdSysInfo->text(), QString("&System Info..."));
        QVERIFY(about->lblDisclaimer->text().startsWith("Warning: "));
        QVERIFY(!about->picIcon->pixmap().isNull());
        for (QLabel* label : {about->lblTitle, about->lblVersion})
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        QVERIFY(about->lblDisclaimer->heightForWidth(about->lblDisclaimer->width()) <= about->lblDisclaimer->height());
        for (QPushButton* b : {about->cmdOK, about->cmdSysInfo})
            QVERIFY(b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 8 <= b->width());
        // The main window stays usable while the box is open.
        QVERIFY(!about->isModal());
    }

    void oneBoxAtATimeReloadedAtEachOpening()
    {
        frmMain* main = Form<frmMain>::get();
        main->mnuAbout_Click();
        frmAbout* first = Form<frmAbout>::existing();
        main->setWindowTitle("Changed title");
        main->mnuAbout_Click();
        QCOMPARE(Form<frmAbout>::existing(), first);
        QCOMPARE(first->lblTitle->text(), QString("Quillmoor Lumenpane (Build 40)"));
        QTest::mouseClick(first->cmdOK, Qt::LeftButton);
        QVERIFY(!Form<frmAbout>::isLoaded());
        settle();
        main->mnuAbout_Click();
        QCOMPARE(Form<frmAbout>::existing()->lblTitle->text(), QString("Changed title"));
    }

    void noSystemInformationToolHere()
    {
        Form<frmMain>::get()->mnuAbout_Click();
        frmAbout* about = Form<frmAbout>::existing();
        QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, QString("System Information Is Unavailable At This Time"));
        QCOMPARE(boxes->shown[0].title, QString("Lumenpane"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::None);
        QVERIFY(Form<frmAbout>::isLoaded() && about->isVisible());
    }

    void toolFoundIsStartedWithoutAMessage()
    {
        OneToolRegistry registry;
        RecordingLauncher launcher;
        SystemRegistry::setInstance(&registry);
        ProgramLauncher::setInstance(&launcher);
        Form<frmMain>::get()->mnuAbout_Click();
        QTest::mouseClick(Form<frmAbout>::existing()->cmdSysInfo, Qt::LeftButton);
        QVERIFY(boxes->shown.isEmpty());
        QCOMPARE(launcher.started, QStringList{"C:\\Tools\\msinfo32.exe"});
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
