#include "AccountRequest.h"

#include "platform/LimitedGet.h"
#include "platform/XmlDocument.h"

#include <QFutureWatcher>
#include <QtConcurrent>

namespace {
int g_timeoutMs = 30000;
// The account API is one server: a redirect may move an answer there, never away, and never for long.
constexpr int MaxRedirects = 5;
// Below this, reading takes a few milliseconds: less than a frame, and less than handing it to another thread.
constexpr qsizetype WorthAThread = 256 * 1024;

CommandOutcome failure(const QString& detail)
{
    CommandOutcome outcome;
    outcome.failureDetail = detail;
    return outcome;
}

CommandOutcome readAnswer(const QByteArray& body, const std::atomic_bool* stop = nullptr)
{
    XmlDocument document;
    if (!document.parse(body, stop))
        return failure(document.errorDetail());
    CommandOutcome outcome;
    outcome.answer = ServiceResponse(document.document(), stop);
    outcome.kind = outcome.answer.succeeded() ? CommandOutcome::Kind::Success : CommandOutcome::Kind::Refusal;
    return outcome;
}
} // namespace

int AccountRequest::transferTimeoutMs()
{
    return g_timeoutMs;
}

void AccountRequest::setTransferTimeoutMs(int ms)
{
    g_timeoutMs = ms;
}

AccountRequest::AccountRequest(QObject* owner) : QObject(owner) {}

AccountRequest::~AccountRequest()
{
    *m_stop = true; // a reading under way ends within a piece of the answer, so the program never waits on it
}

void AccountRequest::start(const QString& address)
{
    m_get = new LimitedGet({g_timeoutMs, XmlDocument::maxAnswerBytes(), MaxRedirects}, this);
    connect(m_get, &LimitedGet::finished, this, &AccountRequest::received);
    m_get->start(QUrl(address, QUrl::TolerantMode));
}

void AccountRequest::received()
{
    const QByteArray body = m_get->body();
    const bool failed = m_get->error() != LimitedGet::Error::None;
    const QString detail = m_get->errorText();
    m_get->deleteLater(); // what it received is copied; the copy is shared, not duplicated
    m_get = nullptr;
    if (failed) {
        emit finished(failure(detail));
        return;
    }
    if (body.size() < WorthAThread) {
        emit finished(readAnswer(body));
        return;
    }
    m_reading = new QFutureWatcher<CommandOutcome>(this);
    connect(m_reading, &QFutureWatcher<CommandOutcome>::finished, this, [this] { emit finished(m_reading->result()); });
    m_reading->setFuture(QtConcurrent::run([body, stop = m_stop] { return readAnswer(body, stop.get()); }));
}
