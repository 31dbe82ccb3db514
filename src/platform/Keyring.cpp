#include "Keyring.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QPointer>
#include <QTimer>
#include <qt6keychain/keychain.h>

Keyring::Keyring(const QString& service, QObject* parent) : QObject(parent), m_service(service) {}

bool Keyring::canAsk() const
{
    return QCoreApplication::instance() != nullptr && m_stalled == 0 && QDBusConnection::sessionBus().isConnected();
}

// Starts the job and hands it to answered when it finishes in time, or null at its time-out. The job deletes itself
// once it has finished: the keyring library calls back into it until then, late or not.
template <class Job> void Keyring::run(Job* job, QObject* context, std::function<void(Job*)> answered)
{
    job->setAutoDelete(true);
    auto* deadline = new QTimer(job);
    deadline->setSingleShot(true);
    const QPointer<QObject> waiting(context);
    connect(job, &QKeychain::Job::finished, this, [this, deadline, waiting, answered](QKeychain::Job* done) {
        if (!deadline->isActive()) {
            --m_stalled; // the late answer of a request given up on: nobody waits for it any more
            return;
        }
        deadline->stop();
        if (waiting)
            answered(static_cast<Job*>(done));
    });
    connect(deadline, &QTimer::timeout, this, [this, waiting, answered] {
        ++m_stalled;
        if (waiting)
            answered(nullptr);
    });
    deadline->start(TimeOutMs);
    job->start();
}

void Keyring::read(const QString& key, QObject* context, std::function<void(const std::optional<QString>&)> done)
{
    if (!canAsk()) {
        QTimer::singleShot(0, context, [done] { done(std::nullopt); });
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    run<QKeychain::ReadPasswordJob>(job, context, [done](QKeychain::ReadPasswordJob* answered) {
        if (answered && answered->error() == QKeychain::NoError)
            done(answered->textData());
        else
            done(std::nullopt);
    });
}

void Keyring::write(const QString& key, const QString& text, QObject* context, std::function<void(bool)> done)
{
    if (!canAsk()) {
        QTimer::singleShot(0, context, [done] { done(false); });
        return;
    }
    auto* job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(text);
    run<QKeychain::WritePasswordJob>(job, context, [done](QKeychain::WritePasswordJob* answered) {
        done(answered && answered->error() == QKeychain::NoError);
    });
}
