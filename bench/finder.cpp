// The site finder over a site menu of 32,767 sites: the time from each key typed into it until the list has been
// narrowed (or widened) and painted again. Prints "finder <sites> <median ms> <worst ms>" over argv[1] runs of the
// same keys; fails when the list does not paint or does not end where the keys lead.
#include "TestSupport.h"
#include "viewer/FindWebsiteDialog.h"
#include "viewer/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>

namespace {
// Notes when the list's area has been painted.
struct PaintWatch : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        painted |= event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

int main(int argc, char* argv[])
{
    TempSettings settings;
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? atoi(argv[1]) : 5);
    constexpr int sites = 32767;
    MainWindow window;
    for (int id = 1; id <= sites; ++id)
        window.showSiteItem(qint16(id), QStringLiteral("site%1.example.com").arg(id));
    // Down to the 20,000th site and back to all of them; down to none and back. Each key changes the list.
    const QList<int> keys = {Qt::Key_2,         Qt::Key_0,         Qt::Key_0,         Qt::Key_0,
                             Qt::Key_0,         Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace,
                             Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_9,         Qt::Key_9,
                             Qt::Key_X,         Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace};
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        window.findWebsite();
        auto* finder = window.findChild<FindWebsiteDialog*>();
        if (!finder || !QTest::qWaitForWindowExposed(finder))
            return fprintf(stderr, "bench_finder: the finder did not show\n"), 1;
        auto* text = finder->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
        auto* list = finder->findChild<QAbstractItemView*>(QStringLiteral("lstSites"));
        PaintWatch watch;
        list->viewport()->installEventFilter(&watch);
        QElapsedTimer clock;
        for (const int key : keys) {
            watch.painted = false;
            clock.start();
            QTest::keyClick(text, Qt::Key(key));
            const QDeadlineTimer deadline(5000);
            while (!watch.painted && !deadline.hasExpired())
                QCoreApplication::processEvents();
            if (!watch.painted)
                return fprintf(stderr, "bench_finder: the list did not paint after \"%s\"\n", qPrintable(text->text())),
                       1;
            times << double(clock.nsecsElapsed()) / 1e6;
        }
        if (!text->text().isEmpty() || list->model()->rowCount() != sites)
            return fprintf(stderr, "bench_finder: \"%s\" shows %d sites\n", qPrintable(text->text()),
                           list->model()->rowCount()),
                   1;
        finder->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::sort(times.begin(), times.end());
    printf("finder %d %.1f %.1f\n", sites, times[times.size() / 2], times.last());
    return 0;
}
