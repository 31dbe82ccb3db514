// Fills the main window's site menu from an answer of N sites (canned in the simulator running in this
// process) and, as the floor, a bare QMenu with the same N captions added one by one. Prints one line per N,
// "sitelist N ours_ms floor_ms", the medians of the runs given as the argument. Fails only when the menu
// stays empty.
#include "viewer/SiteList.h"
#include "TestSupport.h"
#include "viewer/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <algorithm>
#include <cstdio>

static double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main(int argc, char* argv[])
{
    TempSettings settings;
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? atoi(argv[1]) : 5);
    LocalService service;
    for (const int count : {10, 1000, 32767}) {
        QByteArray rows;
        QStringList captions;
        for (int id = 1; id <= count; ++id) {
            captions << QStringLiteral("site%1.example.com").arg(id);
            rows += "<ROW><SITEID>" + QByteArray::number(id) + "</SITEID><PROFILENAME>" + captions.last().toUtf8() +
                    "</PROFILENAME></ROW>";
        }
        service.server().setCannedAnswer(SimServer::serviceResponse(QStringLiteral("OK"), rows));
        QList<double> ours, floor;
        for (int run = 0; run < runs; ++run) {
            MainWindow window;
            QElapsedTimer clock;
            clock.start();
            SiteList::load(&window, QStringLiteral("demo@example.com"), QStringLiteral("demo123"));
            ours << double(clock.nsecsElapsed()) / 1e6;
            if (!window.siteItem(qint16(count)))
                return 1;
            QMenu menu;
            clock.restart();
            for (const QString& caption : captions)
                menu.addAction(caption);
            floor << double(clock.nsecsElapsed()) / 1e6;
        }
        printf("sitelist %d %.3f %.3f\n", count, median(ours), median(floor));
    }
    return 0;
}
