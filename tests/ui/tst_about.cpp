// The about box's system information button on a machine this test plays: where the tool is looked for, how its
// values are read, what is started, and the box when nothing can be.
#include "TestSupport.h"
#include "platform/SystemRegistry.h"
#include "viewer/AboutDialog.h"
#include "viewer/SysInfo.h"

#include <QtTest>

class AboutTest : public QObject, SystemRegistry, ProgramLauncher {
    Q_OBJECT
    QMap<QString, Value> values; // under "key|value name"; null data: no value
    QStringList started;

    std::optional<Value> read(quint32 root, const QString& key, const QString& name, int maxBytes) override
    {
        const Value found = values.value(key + '|' + name);
        return root != LocalMachine || found.data.isNull() || found.data.size() > maxBytes ? std::nullopt
                                                                                           : std::optional(found);
    }
    // Only these two programs exist, and they start.
    bool isOrdinaryFile(const QString& p) override { return p == "C:\\m.exe" || p == "C:\\Shared\\MSINFO32.EXE"; }
    bool start(const QString& path) override { return started << path, isOrdinaryFile(path); }

private slots:
    void systemInformation_data()
    {
        QTest::addColumn<quint32>("kind");          // of the tool's own place; the folder place holds text
        QTest::addColumn<QByteArrayList>("places"); // the tool's, the folder's (null: no value)
        QTest::addColumn<QString>("outcome");       // what was started, the box
        const QString box = "Lumenpane | None | System Information Is Unavailable At This Time";
        QTest::newRow("PATH without its NUL")
            << TypeText << QByteArrayList{QByteArray("C:\\m.exe\0", 9), "C:\\Shared"} << "C:\\m.exe";
        QTest::newRow("the folder holding the program")
            << TypeText << QByteArrayList{{}, "C:\\Shared"} << "C:\\Shared\\MSINFO32.EXE";
        QTest::newRow("a folder without the program") << TypeText << QByteArrayList{{}, "C:\\Empty"} << box;
        QTest::newRow("PATH without data") << TypeText << QByteArrayList{"", "C:\\Shared"} << box;
        QTest::newRow("a number, in decimal, fails to start")
            << TypeDword << QByteArrayList{QByteArray("\x01\x10\0\0", 4), {}} << "4097, " + box;
        QTest::newRow("another kind reads as nothing") << 3u << QByteArrayList{"x", "C:\\Shared"} << ", " + box;
    }
    void systemInformation()
    {
        QFETCH(quint32, kind);
        QFETCH(QByteArrayList, places);
        QFETCH(QString, outcome);
        values = {{SysInfo::ToolKey + "|PATH", {kind, places[0]}},
                  {SysInfo::FolderKey + "|MSINFO", {TypeText, places[1]}}};
        started.clear();
        SystemRegistry::setInstance(this);
        ProgramLauncher::setInstance(this);
        MessageRecorder boxes;
        AboutDialog("Quillmoor Lumenpane (Build 40)").findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE((started + boxLines(boxes)).join(", "), outcome);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
