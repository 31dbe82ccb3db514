// The about box's system information button on a machine this test plays: where the tool is looked for, how its
// value is read, what is started, and the box when nothing can be.
#include "TestSupport.h"
#include "platform/SystemRegistry.h"
#include "viewer/AboutDialog.h"
#include "viewer/SysInfo.h"

#include <QtTest>

Q_DECLARE_METATYPE(SystemRegistry::Value)

class AboutTest : public QObject, SystemRegistry, ProgramLauncher {
    Q_OBJECT
    QMap<QString, Value> values; // under "key|value name"; null data: no value
    QStringList started;

    std::optional<Value> read(quint32 root, const QString& key, const QString& name, int) override
    {
        const Value found = values.value(key + '|' + name);
        return root != LocalMachine || found.data.isNull() ? std::nullopt : std::optional(found);
    }
    bool isOrdinaryFile(const QString& p) override { return p.startsWith("C:"); } // any path on C: exists and starts
    bool start(const QString& path) override { return started << path, isOrdinaryFile(path); }

private slots:
    void systemInformation_data()
    {
        QTest::addColumn<Value>("path");      // the tool's PATH (null data: no value); the folder's MSINFO: C:\Shared
        QTest::addColumn<QString>("outcome"); // what was started, the box
        QTest::newRow("PATH without its NUL") << Value{TypeText, QByteArray("C:\\m.exe\0", 9)} << "C:\\m.exe";
        QTest::newRow("the folder holding the program") << Value{TypeText, {}} << "C:\\Shared\\MSINFO32.EXE";
        QTest::newRow("a number, in decimal, fails to start")
            << Value{TypeDword, QByteArray("\x01\x10\0\0", 4)}
            << "4097, Lumenpane | None | System Information Is Unavailable At This Time";
    }
    void systemInformation()
    {
        QFETCH(Value, path);
        QFETCH(QString, outcome);
        values = {{SysInfo::ToolKey + "|PATH", path}, {SysInfo::FolderKey + "|MSINFO", {TypeText, "C:\\Shared"}}};
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
