#include "Keyring.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace Keyring {

static constexpr int TimeOutMs = 3000;
// Jobs that timed out and have not finished yet.
static int s_stalled = 0;

// Keyrings answer on the session bus: without one there is none to ask, and the keyring library, with all that
// it loads, stays out of the program.
static bool canAsk()
{
    return QCoreApplication::instance() != nullptr && s_stalled == 0 && QDBusConnection::sessionBus().isConnected();
}

// Starts the job and waits for its answer: the job when it came in time, else null. A job that timed out must
// live on until it finishes (the keyring library calls back into it), so it is then left to delete itself.
template <class Job> static std::unique_ptr<Job> answered(Job* job)
{
    job->setAutoDelete(false);
    bool finished = false;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(TimeOutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (finished)
        return std::unique_ptr<Job>(job);
    ++s_stalled;
    QObject::connect(job, &QKeychain::Job::finished, [] { --s_stalled; });
    job->setAutoDelete(true);
    return nullptr;
}

std::optional<QString> read(const QString& service, const QString& key)
{
    if (!canAsk())
        return std::nullopt;
    auto* job = new QKeychain::ReadPasswordJob(service);
    job->setKey(key);
    const auto done = answered(job);
    if (!done || done->error() != QKeychain::NoError)
        return std::nullopt;
    return done->textData();
}

bool write(const QString& service, const QString& key, const QString& text)
{
    if (!canAsk())
        return false;
    auto* job = new QKeychain::WritePasswordJob(service);
    job->setKey(key);
    job->setTextData(text);
    const auto done = answered(job);
    return done && done->error() == QKeychain::NoError;
}

} // namespace Keyring
