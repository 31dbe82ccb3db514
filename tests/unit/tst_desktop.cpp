// The windowing asked of Qt, and the activation tokens a second copy hands to the first (journeys: e2e/wayland).
#include "platform/ActivationToken.h"
#include "platform/SingleInstance.h"
#include "platform/WindowSystem.h"

#include <QtTest>

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    // "NAME=value ..." ("NAME=": set, empty), a seat or not: "platform / input method" set ("-": left), "asked".
    void windowingChoice_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<bool>("seat");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Wayland session") << "WAYLAND_DISPLAY=wayland-0" << true << "wayland;xcb / - asked";
        QTest::newRow("Wayland session, empty platform")
            << "WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=" << true << "wayland;xcb / - asked";
        QTest::newRow("Wayland session, X11 asked for")
            << "WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=xcb" << false << "- / -";
        QTest::newRow("no seat") << "WAYLAND_DISPLAY=w" << false << "wayland;xcb / compose asked";
        QTest::newRow("no seat, Wayland asked for")
            << "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=w" << false << "- / compose asked";
        QTest::newRow("no seat, an empty input method")
            << "WAYLAND_DISPLAY=w QT_IM_MODULE=" << false << "wayland;xcb / -";
        QTest::newRow("empty Wayland display") << "WAYLAND_DISPLAY=" << false << "- / -";
    }
    void windowingChoice()
    {
        QFETCH(QString, environment);
        QFETCH(bool, seat);
        QMap<QByteArray, QByteArray> variables;
        for (const QString& pair : environment.split(' ', Qt::SkipEmptyParts))
            variables.insert(pair.section('=', 0, 0).toUtf8(), pair.section('=', 1).toUtf8());
        bool asked = false;
        const WindowSystem::Choice choice = WindowSystem::choose(
            [&](const char* name) {
                return variables.contains(name) ? std::optional(variables.value(name)) : std::nullopt;
            },
            [&] {
                asked = true;
                return seat;
            });
        const QString got = QString("%1 / %2%3")
                                .arg(QString(choice.platform.value_or("-")), QString(choice.inputMethod.value_or("-")),
                                     asked ? " asked" : "");
        QTEST(got, "expected");
    }

    // What a second copy says to the first, read back; an earlier version's word, and lines that ask for nothing.
    void activationHandedOver_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected"); // "wayland token | startup id", or "none"
        const auto said = [](const QString& wayland, const QString& startupId) {
            return SingleInstance::activationMessage({wayland, startupId});
        };
        QTest::newRow("both, with quotes and a line break")
            << said("a\"b\nc", "launcher/x-1_TIME99") << "a\"b\nc | launcher/x-1_TIME99";
        QTest::newRow("an earlier version") << QByteArray("activate\n") << " | ";
        QTest::newRow("something else") << QByteArray("{\"do\":\"quit\"}\n") << "none";
        QTest::newRow("not JSON") << QByteArray("activate please\n") << "none";
    }
    void activationHandedOver()
    {
        QFETCH(QByteArray, line);
        QVERIFY(line.endsWith('\n') && line.count('\n') == 1);
        const std::optional<ActivationToken> token = SingleInstance::readActivation(line);
        QTEST(token ? token->wayland + " | " + token->startupId : "none", "expected");
    }

    void startupTime_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<quint32>("time");
        QTest::newRow("launcher's") << "gnome-shell-1234-host-lumenpane-0_TIME4026531839" << 4026531839u;
        QTest::newRow("the last _TIME") << "a_TIME1_TIME22" << 22u;
        QTest::newRow("none") << "launcher-12" << 0u;
        QTest::newRow("past 32 bits") << "a_TIME4294967296" << 0u;
    }
    void startupTime()
    {
        QFETCH(QString, id);
        QTEST(ActivationToken::startupTime(id), "time");
    }
};

QTEST_GUILESS_MAIN(DesktopTest)
#include "tst_desktop.moc"
