// Finding and starting the system information tool, through a fake registry and a fake launcher.
#include "about/SysInfo.h"
#include "platform/SystemRegistry.h"

#include <QtTest>

namespace {

struct FakeRegistry : SystemRegistry {
    QMap<QString, Value> values; // "key|value name"
    QStringList reads;
    std::optional<Value> read(quint32 root, const QString& key, const QString& name, int maxBytes) override
    {
        reads.append(key + "|" + name);
        if (root != LocalMachine || !values.contains(key + "|" + name))
            return std::nullopt;
        const Value v = values.value(key + "|" + name);
        if (v.data.size() > maxBytes)
            return std::nullopt;
        return v;
    }
};

struct FakeLauncher : ProgramLauncher {
    QStringList files;
    bool startSucceeds = true;
    QStringList started;
    bool isOrdinaryFile(const QString& path) override { return files.contains(path); }
    bool start(const QString& path) override
    {
        started.append(path);
        return startSucceeds;
    }
};

const QString toolPlace = SysInfo::ToolKey + "|PATH";
const QString folderPlace = SysInfo::FolderKey + "|MSINFO";

SystemRegistry::Value text(const QByteArray& s) { return {SystemRegistry::TypeText, s}; }

} // namespace

class SysInfoTest : public QObject {
    Q_OBJECT
    FakeRegistry registry;
    FakeLauncher launcher;

private slots:
    void init()
    {
        registry = FakeRegistry();
        launcher = FakeLauncher();
        SystemRegistry::setInstance(&registry);
        ProgramLauncher::setInstance(&launcher);
    }
    void cleanupTestCase()
    {
        SystemRegistry::setInstance(nullptr);
        ProgramLauncher::setInstance(nullptr);
    }

    void pathValueStartsTheToolWithoutReadingTheFolder()
    {
        registry.values[toolPlace] = text(QByteArray("C:\\Tools\\msinfo32.exe\0", 22));
        registry.values[folderPlace] = text("C:\\Elsewhere");
        QVERIFY(SysInfo::StartSysInfo());
        QCOMPARE(launcher.started, QStringList{"C:\\Tools\\msinfo32.exe"});
        QCOMPARE(registry.reads, QStringList{toolPlace});
    }

    void folderValueWithTheProgramInIt()
    {
        registry.values[folderPlace] = text("C:\\Shared\\MSINFO");
        launcher.files << "C:\\Shared\\MSINFO\\MSINFO32.EXE";
        QVERIFY(SysInfo::StartSysInfo());
        QCOMPARE(launcher.started, QStringList{"C:\\Shared\\MSINFO\\MSINFO32.EXE"});
    }

    void unavailable_data()
    {
        QTest::addColumn<bool>("tool");
        QTest::addColumn<QByteArray>("toolData");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("programInFolder");
        QTest::addColumn<bool>("startSucceeds");
        QTest::newRow("neither place") << false << QByteArray() << false << false << true;
        QTest::newRow("folder without the program") << false << QByteArray() << true << false << true;
        QTest::newRow("tool value without data, folder never tried") << true << QByteArray() << true << true << true;
        QTest::newRow("start fails") << true << QByteArray("C:\\missing.exe") << false << false << false;
    }
    void unavailable()
    {
        QFETCH(bool, tool);
        QFETCH(QByteArray, toolData);
        QFETCH(bool, folder);
        QFETCH(bool, programInFolder);
        QFETCH(bool, startSucceeds);
        if (tool)
            registry.values[toolPlace] = text(toolData);
        if (folder)
            registry.values[folderPlace] = text("C:\\Shared");
        if (programInFolder)
            launcher.files << "C:\\Shared\\MSINFO32.EXE";
        launcher.startSucceeds = startSucceeds;
        QVERIFY(!SysInfo::StartSysInfo());
        if (tool && toolData.isEmpty())
            QCOMPARE(registry.reads, QStringList{toolPlace});
    }

    void valueKinds_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("text with its NUL") << SystemRegistry::TypeText << QByteArray("abc\0", 4) << "" << "abc";
        QTest::newRow("text without NUL") << SystemRegistry::TypeText << QByteArray("abc") << "" << "abc";
        QTest::newRow("number 5") << SystemRegistry::TypeDword << QByteArray("\x05\0\0\0", 4) << "" << "5";
        QTest::newRow("number 0x1001 keeps its inner zeros") << SystemRegistry::TypeDword << QByteArray("\x01\x10\0\0", 4)
                                                             << "" << "4097";
        QTest::newRow("largest number, unsigned") << SystemRegistry::TypeDword << QByteArray("\xff\xff\xff\xff", 4) << ""
                                                  << "4294967295";
        QTest::newRow("other kind leaves the text") << quint32(3) << QByteArray("\x01\x02", 2) << "kept" << "kept";
    }
    void valueKinds()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(QString, after);
        registry.values["K|V"] = {type, data};
        QString value = before;
        QVERIFY(SysInfo::GetKeyValue(SystemRegistry::LocalMachine, "K", "V", value));
        QCOMPARE(value, after);
    }

    void missingValueEmptiesTheText()
    {
        QString value = "old";
        QVERIFY(!SysInfo::GetKeyValue(SystemRegistry::LocalMachine, "K", "none", value));
        QCOMPARE(value, QString());
    }

    void thisPlatformHasNoTool()
    {
        SystemRegistry::setInstance(nullptr);
        ProgramLauncher::setInstance(nullptr);
#ifndef Q_OS_WIN
        QVERIFY(!SysInfo::StartSysInfo());
#endif
    }
};

QTEST_GUILESS_MAIN(SysInfoTest)
#include "tst_sysinfo.moc"
