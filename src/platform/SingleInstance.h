#pragma once

#include <QObject>
#include <memory>

class QLocalServer;
class QLockFile;

// One running copy per user and settings folder. The first copy holds a lock file and listens on a
// local socket; a later copy finds the lock taken, asks the first copy to come forward, and ends.
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

signals:
    void activationRequested();

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
