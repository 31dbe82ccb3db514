#include "TimerProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>

void TimerProbe::startIfAsked()
{
    const QString path = qEnvironmentVariable("LUMENPANE_BENCH_TIMER_LOG");
    if (path.isEmpty() || !QCoreApplication::instance())
        return;
    auto* timer = new QTimer(QCoreApplication::instance());
    // A precise timer, so the gaps are the event loop's and not the timer's own slack.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(10);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, path, clock, last = qint64(0), longest = qint64(0)]() mutable {
                         const qint64 now = clock.elapsed();
                         longest = std::max(longest, now - last);
                         last = now;
                         if (now < 5000)
                             return;
                         timer->stop();
                         QFile file(path);
                         if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                             file.write(QByteArray::number(longest) + '\n');
                         timer->deleteLater();
                     });
    timer->start();
}
