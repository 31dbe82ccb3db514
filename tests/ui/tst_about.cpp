// The about box's system information button, with a fake registry and launcher standing in for the machine:
// where the tool is looked for, how its values are read, what is started, and the message when nothing can be.
#include "TestSupport.h"
#include "viewer/AboutDialog.h"
#include "viewer/SysInfo.h"

#include <QPushButton>
#include <QtTest>

class AboutTest : public QObject {
    Q_OBJECT
    FakeRegistry registry;
    FakeLauncher launcher;
    const QString tool = SysInfo::ToolKey + "|PATH", folder = SysInfo::FolderKey + "|MSINFO";

private slots:
    // The tool's own place (of a kind) and the folder place (a null value: none); the only program file is
    // C:\Shared\MSINFO32.EXE. What started, then "|" and the places read.
    void systemInformation_data()
    {
        QTest::addColumn<quint32>("kind");
        QTest::addColumn<QByteArrayList>("places");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("started");
        auto row = [](const char* name, quint32 kind, QByteArrayList places, bool starts, const QString& started) {
            QTest::newRow(name) << kind << places << starts << started;
        };
        const quint32 text = SystemRegistry::TypeText;
        row("PATH without its NUL, folder not read", text, {QByteArray("C:\\m.exe\0", 9), "C:\\Shared"}, true,
            "C:\\m.exe|tool");
        row("only the folder, holding the program", text, {{}, "C:\\Shared"}, true,
            "C:\\Shared\\MSINFO32.EXE|tool folder");
        row("neither place", text, {{}, {}}, false, "|tool folder");
        row("a folder without the program", text, {{}, "C:\\Empty"}, false, "|tool folder");
        row("PATH without data, folder never tried", text, {"", "C:\\Shared"}, false, "|tool");
        row("the start fails", text, {"C:\\missing.exe", {}}, false, "C:\\missing.exe|tool");
        row("a number in decimal", SystemRegistry::TypeDword, {QByteArray("\x01\x10\0\0", 4), {}}, false, "4097|tool");
        row("another kind reads as nothing", 3, {"x", {}}, false, "|tool");
    }
    void systemInformation()
    {
        QFETCH(quint32, kind);
        QFETCH(QByteArrayList, places);
        QFETCH(bool, starts);
        QFETCH(QString, started);
        registry = FakeRegistry();
        launcher = FakeLauncher();
        SystemRegistry::setInstance(&registry);
        ProgramLauncher::setInstance(&launcher);
        for (int i : {0, 1})
            if (!places[i].isNull())
                registry.values[i ? folder : tool] = {i ? SystemRegistry::TypeText : kind, places[i]};
        launcher.files << "C:\\Shared\\MSINFO32.EXE";
        launcher.startSucceeds = starts;
        MessageRecorder boxes;
        AboutDialog("Quillmoor Lumenpane (Build 40)").findChild<QPushButton*>("cmdSysInfo")->click();
        const QString reads = registry.reads.join(' ').replace(tool, "tool").replace(folder, "folder");
        QCOMPARE(launcher.started.join(' ') + "|" + reads, started);
        QCOMPARE(boxLines(boxes),
                 starts ? QStringList()
                        : QStringList{"Lumenpane | None | System Information Is Unavailable At This Time"});
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
