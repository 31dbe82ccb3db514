#pragma once

#include "ServiceResponse.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class LimitedGet;
template <typename T> class QFutureWatcher;

// What an account API command came to. A well-formed answer whose STATUS is not exactly "OK" (or missing) is a
// refusal; no answer, an HTTP error, or anything that is not well-formed XML is a failure.
struct CommandOutcome {
    enum class Kind { Success, Refusal, Failure };
    Kind kind = Kind::Failure;
    ServiceResponse answer; // empty after a failure
    QString failureDetail;  // what went wrong, after a failure

    bool succeeded() const { return kind == Kind::Success; }
    bool refused() const { return kind == Kind::Refusal; }
    bool failed() const { return kind == Kind::Failure; }
};

// One account API command under way: one GET of the command address, the answer checked and read (off this thread
// when it is large, so that the windows keep answering), and its outcome reported once by finished(), from the
// event loop. Its owner is the window that asked: deleting the request, with that window or before, cancels it,
// and its answer is never acted on.
class AccountRequest : public QObject {
    Q_OBJECT
public:
    explicit AccountRequest(QObject* owner);
    ~AccountRequest() override;

    void start(const QString& address);

    // The longest a command may take from start to the last byte of its answer (30 s); tests shorten it.
    static int transferTimeoutMs();
    static void setTransferTimeoutMs(int ms);

signals:
    void finished(const CommandOutcome& outcome);

private:
    void received();

    LimitedGet* m_get = nullptr;
    QFutureWatcher<CommandOutcome>* m_reading = nullptr;
    std::shared_ptr<std::atomic_bool> m_stop = std::make_shared<std::atomic_bool>(false); // shared with the reading
};
