// Finding and starting the system information tool, through a fake registry and a fake launcher.
#include "TestSupport.h"
#include "about/SysInfo.h"

#include <QtTest>

namespace {
const QString toolPlace = SysInfo::ToolKey + "|PATH";
const QString folderPlace = SysInfo::FolderKey + "|MSINFO";
} // namespace

class SysInfoTest : public QObject {
    Q_OBJECT
    FakeRegistry registry;
    FakeLauncher launcher;

private slots:
    void init() {
        registry = FakeRegistry();
        launcher = FakeLauncher();
        SystemRegistry::setInstance(&registry);
        ProgramLauncher::setInstance(&launcher);
    }
    void cleanupTestCase() {
        SystemRegistry::setInstance(nullptr);
        ProgramLauncher::setInstance(nullptr);
    }

    // The launcher finds one program file, C:\Shared\MSINFO32.EXE; starting succeeds in the rows that succeed.
    void startSysInfo_data() {
        QTest::addColumn<QByteArray>("tool"); // the two registry places; null: no value
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("reads");
        const QByteArray none;
        const QStringList both{toolPlace, folderPlace};
        QTest::newRow("PATH with its NUL, folder not read")
            << QByteArray("C:\\Tools\\msinfo32.exe\0", 22) << QByteArray("C:\\Shared") << true
            << QStringList{"C:\\Tools\\msinfo32.exe"} << QStringList{toolPlace};
        QTest::newRow("only the folder holding the program")
            << none << QByteArray("C:\\Shared") << true << QStringList{"C:\\Shared\\MSINFO32.EXE"} << both;
        QTest::newRow("neither place") << none << none << false << QStringList() << both;
        QTest::newRow("folder without the program")
            << none << QByteArray("C:\\Empty") << false << QStringList() << both;
        QTest::newRow("PATH without data, folder never tried")
            << QByteArray("") << QByteArray("C:\\Shared") << false << QStringList() << QStringList{toolPlace};
        QTest::newRow("start fails") << QByteArray("C:\\missing.exe") << none << false << QStringList{"C:\\missing.exe"}
                                     << QStringList{toolPlace};
    }
    void startSysInfo() {
        QFETCH(QByteArray, tool);
        QFETCH(QByteArray, folder);
        QFETCH(bool, result);
        QFETCH(QStringList, started);
        QFETCH(QStringList, reads);
        if (!tool.isNull())
            registry.values[toolPlace] = {SystemRegistry::TypeText, tool};
        if (!folder.isNull())
            registry.values[folderPlace] = {SystemRegistry::TypeText, folder};
        launcher.files << "C:\\Shared\\MSINFO32.EXE";
        launcher.startSucceeds = result;
        QCOMPARE(SysInfo::StartSysInfo(), result);
        QCOMPARE(launcher.started, started);
        QCOMPARE(registry.reads, reads);
    }

    void getKeyValue_data() {
        QTest::addColumn<quint32>("type"); // 0: no such value
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("after");
        const quint32 text = SystemRegistry::TypeText, number = SystemRegistry::TypeDword;
        QTest::newRow("text with its NUL") << text << QByteArray("abc\0", 4) << "" << true << "abc";
        QTest::newRow("text without NUL") << text << QByteArray("abc") << "" << true << "abc";
        QTest::newRow("number 0x1001 keeps its inner zeros")
            << number << QByteArray("\x01\x10\0\0", 4) << "" << true << "4097";
        QTest::newRow("largest number, unsigned")
            << number << QByteArray("\xff\xff\xff\xff", 4) << "" << true << "4294967295";
        QTest::newRow("other kind leaves the text") << quint32(3) << QByteArray("\x01", 1) << "kept" << true << "kept";
        QTest::newRow("missing value empties the text") << quint32(0) << QByteArray() << "old" << false << "";
    }
    void getKeyValue() {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(bool, found);
        QFETCH(QString, after);
        if (type)
            registry.values["K|V"] = {type, data};
        QString value = before;
        QCOMPARE(SysInfo::GetKeyValue(SystemRegistry::LocalMachine, "K", "V", value), found);
        QCOMPARE(value, after);
    }
};

QTEST_GUILESS_MAIN(SysInfoTest)
#include "tst_sysinfo.moc"
