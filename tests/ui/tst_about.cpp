// The about box's system information button on a fake machine: where the tool is looked for, how its values
// are read, what is started, and the box when nothing can be.
#include "TestSupport.h"
#include "viewer/AboutDialog.h"
#include "viewer/SysInfo.h"

#include <QtTest>

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void systemInformation_data()
    {
        QTest::addColumn<quint32>("kind");          // of the tool's own place; the folder place holds text
        QTest::addColumn<QByteArrayList>("places"); // the tool's, the folder's (null: no value)
        QTest::addColumn<QString>("outcome");       // what was started, the box
        const quint32 text = SystemRegistry::TypeText;
        const QString box = "Lumenpane | None | System Information Is Unavailable At This Time";
        QTest::newRow("PATH without its NUL")
            << text << QByteArrayList{QByteArray("C:\\m.exe\0", 9), "C:\\Shared"} << "C:\\m.exe";
        QTest::newRow("the folder holding the program")
            << text << QByteArrayList{{}, "C:\\Shared"} << "C:\\Shared\\MSINFO32.EXE";
        QTest::newRow("neither place") << text << QByteArrayList{{}, {}} << box;
        QTest::newRow("a folder without the program") << text << QByteArrayList{{}, "C:\\Empty"} << box;
        QTest::newRow("PATH without data") << text << QByteArrayList{"", "C:\\Shared"} << box;
        QTest::newRow("a number, in decimal, fails to start")
            << SystemRegistry::TypeDword << QByteArrayList{QByteArray("\x01\x10\0\0", 4), {}} << "4097, " + box;
        QTest::newRow("another kind reads as nothing") << 3u << QByteArrayList{"x", "C:\\Shared"} << ", " + box;
    }
    void systemInformation()
    {
        QFETCH(quint32, kind);
        QFETCH(QByteArrayList, places);
        QFETCH(QString, outcome);
        FakeMachine machine({{SysInfo::ToolKey + "|PATH", {kind, places[0]}},
                             {SysInfo::FolderKey + "|MSINFO", {SystemRegistry::TypeText, places[1]}}});
        MessageRecorder boxes;
        AboutDialog("Quillmoor Lumenpane (Build 40)").findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE((machine.started + boxLines(boxes)).join(", "), outcome);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
