#pragma once

#include "SimServer.h"
#include "platform/MessageBox.h"
#include "platform/WindowSystem.h"
#include "session/CredentialStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Settings and runtime files in a temporary folder, never the user's; made before anything touches QSettings.
struct TempSettings {
    TempSettings()
    {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    }
    QTemporaryDir dir;
};

// Answers every message box at once and keeps what it said.
struct MessageRecorder {
    MessageRecorder()
    {
        MessageBox::setTestHandler([this](const MessageBox::Shown& box) { shown.append(box); });
    }
    ~MessageRecorder() { MessageBox::setTestHandler(nullptr); }
    QList<MessageBox::Shown> shown;
};
QStringList boxLines(const MessageRecorder& recorder); // "title | icon | text" for each box

// The service simulator in this process on a free loopback port, the client pointed at it with the usual 30 s
// time-out; and a message box recorder.
struct ServiceAndBoxes {
    ServiceAndBoxes();
    SimServer& server() { return *m_server; }
    QString base() const { return m_server->baseUrl(); }
    QStringList apiRequests() const { return m_server->requestLog().filter("/v3/rsapi.asp"); }
    // The next account API answers: -1 silent (time-out after 500 ms), 0 the simulator's own, else this status.
    void answer(int status, const QByteArray& body);
    std::unique_ptr<SimServer> m_server = std::make_unique<SimServer>();
    MessageRecorder boxes;
};

// A window shown for one test function, with the simulator and the boxes; and the signals that the window's own
// classes declare (for a dialog also QDialog's), by name, once for each time they were emitted.
template <class Window> struct ShownWindow : ServiceAndBoxes {
    CredentialStore credentials;
    std::unique_ptr<Window> window = [this] {
        if constexpr (std::is_constructible_v<Window, CredentialStore&>)
            return std::make_unique<Window>(credentials);
        else
            return std::make_unique<Window>();
    }();
    std::vector<std::unique_ptr<QSignalSpy>> spies;

    ShownWindow()
    {
        const QMetaObject* meta = window->metaObject();
        for (int i = QWidget::staticMetaObject.methodCount(); i < meta->methodCount(); ++i)
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                spies.push_back(std::make_unique<QSignalSpy>(window.get(), meta->method(i)));
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("%s was not exposed", qPrintable(window->objectName()));
    }
    template <class Control = QLineEdit> Control* child(const char* name) const
    {
        return window->template findChild<Control*>(QLatin1String(name));
    }
    QStringList emitted() const
    {
        QStringList names;
        for (const auto& spy : spies)
            for (qsizetype i = 0; i < spy->size(); ++i)
                names << QString::fromLatin1(spy->signal().split('(')[0]);
        return names;
    }
};
// "http://127.0.0.1:<port>" where nothing listens: a server that cannot be reached.
QString unreachableBase();

// QTEST_MAIN as the programs start: with the windowing they choose for the session (natively on Wayland, and the
// text input that a compositor without a seat needs).
#define LUMENPANE_TEST_MAIN(TestObject)                                                                                \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        QTest::Internal::callInitMain<TestObject>();                                                                   \
        WindowSystem windowSystem;                                                                                     \
        QApplication app(argc, argv);                                                                                  \
        windowSystem.restore();                                                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject test;                                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
