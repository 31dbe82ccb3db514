#pragma once

#include "SimServer.h"
#include "platform/MessageBox.h"
#include "platform/SystemRegistry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A private settings folder: XDG_CONFIG_HOME points into a temporary folder, so that no test reads or writes
// the real user's settings. Create it before anything touches QSettings.
struct TempSettings {
    TempSettings();
    QString path() const { return dir.path(); }
    QTemporaryDir dir;
};

// Answers every message box at once and keeps what it said; onShown is called for each, after it is kept.
struct MessageRecorder {
    MessageRecorder();
    ~MessageRecorder() { MessageBox::setTestHandler(nullptr); }
    QList<MessageBox::Shown> shown;
    std::function<void(const MessageBox::Shown&)> onShown;
};
// Every box recorded so far as one "title | icon | text" line, so a test compares them all in one step.
QStringList boxLines(const MessageRecorder& recorder);

// Saves a picture of a window into the folder named by LUMENPANE_TEST_SHOTS, when it is set.
void saveShot(QWidget* window, const QString& name);

// The service simulator in this process, on a free loopback port; the client is pointed at it.
struct LocalService {
    LocalService();
    SimServer& server() { return *m_server; }
    QString base() const { return m_server->baseUrl(); }
    // The account API requests received, as "METHOD /path?query" lines.
    QStringList apiRequests() const { return m_server->requestLog().filter("/v3/rsapi.asp"); }
    std::unique_ptr<SimServer> m_server = std::make_unique<SimServer>();
};

// What a window test talking to the service needs for each test function: the simulator, a message box
// recorder, the usual 30 s time-out and an empty session.
struct ServiceAndBoxes {
    ServiceAndBoxes();
    // The next account API answers: 0 leaves the simulator as it is, -1 makes it silent (time-out after
    // 500 ms), any other status sends the body with that HTTP status.
    void answer(int status, const QByteArray& body);
    LocalService service;
    MessageRecorder boxes;
};

// The signals that an object's own classes declare (for a dialog also QDialog's rejected and finished), by
// name in the order they were emitted. It belongs to the object and goes with it.
class SignalLog : public QObject {
    Q_OBJECT
public:
    explicit SignalLog(QObject* sender);
    QStringList names;

private slots:
    void record() { names << QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name()); }
};

// A window of the program shown on the screen for one test function, with the simulator, the message box
// recorder and the log of the window's signals; its controls are reached by their names.
template <class Window> struct ShownWindow : ServiceAndBoxes {
    std::unique_ptr<Window> window = std::make_unique<Window>();
    SignalLog* emitted = new SignalLog(window.get());
    QStringList emittedBeforeBoxes; // for each box: the signals emitted before it was closed, joined by ","

    ShownWindow()
    {
        boxes.onShown = [this](const MessageBox::Shown&) { emittedBeforeBoxes << emitted->names.join(','); };
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("%s was not exposed", qPrintable(window->objectName()));
    }
    template <class Control = QLineEdit> Control* child(const char* name) const
    {
        return window->template findChild<Control*>(QLatin1String(name));
    }
    void click(const char* button) const { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
};

// The remembered sign-in: the stored "Login" and "Password".
QStringList storedSignIn();

// A machine's configuration database and program launcher, in place of the platform's while it lives: it holds
// the values given (under "key|value name"; null data: no value) and only the program files C:\m.exe and
// C:\Shared\MSINFO32.EXE, which start.
struct FakeMachine : SystemRegistry, ProgramLauncher {
    explicit FakeMachine(const QMap<QString, Value>& values);
    ~FakeMachine() override;
    std::optional<Value> read(quint32 root, const QString& key, const QString& name, int maxBytes) override;
    bool isOrdinaryFile(const QString& path) override
    {
        return path == "C:\\m.exe" || path == "C:\\Shared\\MSINFO32.EXE";
    }
    bool start(const QString& path) override;
    QMap<QString, Value> values;
    QStringList started;
};
