#pragma once

#include "SimServer.h"
#include "platform/MessageBox.h"
#include "platform/SystemRegistry.h"

#include <QLineEdit>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class QWidget;
#include <memory>

// A private settings folder for the test program: XDG_CONFIG_HOME points into a temporary folder,
// so no test reads or writes the real user's settings. Create it before anything touches QSettings.
class TempSettings {
public:
    TempSettings();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Answers every message box at once and keeps what it said.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QList<MessageBox::Shown> shown;
    // Called for each box, after it has been recorded (e.g. to look at the windows while it is open).
    std::function<void(const MessageBox::Shown&)> onShown;
};

// Saves a picture of a window into the folder named by LUMENPANE_TEST_SHOTS, when it is set.
void saveShot(QWidget* window, const QString& name);

// The service simulator in this process, on a free loopback port; the client is pointed at it.
class LocalService {
public:
    LocalService();
    SimServer& server() { return *m_server; }
    QString base() const { return m_server->baseUrl(); }
    // The requests received, as "METHOD /path?query" lines; the account API ones only when asked.
    QStringList apiRequests() const;

private:
    std::unique_ptr<SimServer> m_server;
};

// Every box recorded so far as one "title | icon | text" line, so a test compares them all in one step.
QStringList boxLines(const MessageRecorder& recorder);

// What a window test talking to the service needs for each test function: the simulator, a message box
// recorder, the usual 30 s time-out and an empty session.
class ServiceAndBoxes {
public:
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
    void record();
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

// The captions of a window that do not fit their controls in their fonts (labels, wrapped ones in their
// height, buttons and frame titles with room for their edges, and the widest entry of a list box).
QStringList clippedCaptions(const QWidget* window);

// A machine's configuration database and program launcher for tests: values under "key|value name",
// and the ordinary files and started programs as lists.
struct FakeRegistry : SystemRegistry {
    QMap<QString, Value> values;
    QStringList reads;
    std::optional<Value> read(quint32 root, const QString& key, const QString& name, int maxBytes) override;
};
struct FakeLauncher : ProgramLauncher {
    QStringList files;
    QStringList started;
    bool startSucceeds = true;
    bool isOrdinaryFile(const QString& path) override { return files.contains(path); }
    bool start(const QString& path) override;
};
