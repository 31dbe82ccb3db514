#include "OffThread.h"

#include <QEventLoop>
#include <QThread>
#include <memory>

namespace OffThread {

void runWhilePainting(qint64 bytes, const std::function<void()>& work)
{
    // Below this, reading takes a few milliseconds: less than a frame.
    constexpr qint64 WorthAThread = 256 * 1024;
    if (bytes < WorthAThread) {
        work();
        return;
    }
    const std::unique_ptr<QThread> thread(QThread::create(work));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    if (!thread->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
}

} // namespace OffThread
