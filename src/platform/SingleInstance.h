#pragma once

#include "ActivationToken.h"

#include <QObject>
#include <memory>
#include <optional>

class QLocalServer;
class QLockFile;

// One running copy per user and settings folder. The first copy holds a lock file and listens on a
// local socket; a later copy finds the lock taken, asks the first copy to come forward, and ends. The later copy
// hands over the activation token it was started with, without which the desktop may keep the first copy's window
// in the background.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static SingleInstance& instance();

    // True when another copy holds the lock. The first call takes the lock if it is free; later calls
    // answer from that result. When another copy runs, it has been asked to bring its window forward.
    // Needs no application object, so that a second copy ends before it has loaded any of the windowing.
    bool anotherCopyRunning();
    // The copy that holds the lock answers later copies from here on (once the application object exists).
    void listen();

    QString key() const;

    // One line each: what a later copy says, and what the first copy reads from it (nothing for a line that asks
    // for no activation).
    static constexpr qint64 MaxMessageBytes = 64 * 1024;
    static QByteArray activationMessage(const ActivationToken& token);
    static std::optional<ActivationToken> readActivation(const QByteArray& line);

signals:
    void activationRequested(const ActivationToken& token);

private:
    SingleInstance();
    ~SingleInstance() override;
    bool acquire();
    static void askToComeForward(const QString& socketName);

    std::unique_ptr<QLockFile> m_lock;
    QString m_socketName;
    QLocalServer* m_server = nullptr;
    int m_state = -1; // -1 not checked yet, 0 this copy runs alone, 1 another copy runs
};
