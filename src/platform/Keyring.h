#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The desktop's keyring (the Secret Service on Linux), asked through the keyring library's own asynchronous jobs.
// An answer that does not come within a few seconds counts as none. After such a time-out the keyring counts as
// absent until its late answer has come in: it answers in order, so a newer request would only wait behind the old
// one, and a late write must not overtake a newer one.
class Keyring : public QObject {
    Q_OBJECT
public:
    static constexpr int TimeOutMs = 3000;

    explicit Keyring(const QString& service, QObject* parent = nullptr);

    // Whether it is worth asking: a session bus to reach a keyring on, and no earlier request still out after its
    // time-out. Without a bus the keyring library, with all that it loads, stays out of the program.
    bool canAsk() const;
    // Calls back once, from the event loop, with the stored text, or nothing when there is none, it cannot be asked
    // or no answer came in time; not at all when context has gone by then.
    void read(const QString& key, QObject* context, std::function<void(const std::optional<QString>&)> done);
    // Calls back once with true when the keyring has confirmed that it holds the text, false when it refused or
    // did not confirm in time; not at all when context has gone by then.
    void write(const QString& key, const QString& text, QObject* context, std::function<void(bool)> done);

private:
    template <class Job> void run(Job* job, QObject* context, std::function<void(Job*)> answered);

    const QString m_service;
    int m_stalled = 0; // requests that timed out and have not been answered yet
};
