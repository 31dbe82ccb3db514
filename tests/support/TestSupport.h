#pragma once

#include "SimServer.h"
#include "platform/MessageBox.h"

#include <QList>
#include <QTemporaryDir>

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
