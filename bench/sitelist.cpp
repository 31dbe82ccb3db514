// The site menu filled from an answer of N sites (canned in this process's simulator) and, as the floor, a bare QMenu
// given the same captions one by one: "sitelist N ours_ms floor_ms", medians of argv[1] runs; fails on an empty menu.
#include "viewer/SiteList.h"
#include "TestSupport.h"
#include "viewer/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    TempSettings settings;
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? atoi(argv[1]) : 5);
    ServiceAndBoxes service;
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
        QElapsedTimer clock;
        for (int run = 0; run < runs; ++run) {
            MainWindow window;
            SiteList list(&window);
            QSignalSpy listed(&list, &SiteList::finished);
            clock.start();
            list.load(QStringLiteral("demo@example.com"), QStringLiteral("demo123"));
            if (!listed.wait(60000))
                return 1;
            ours << double(clock.nsecsElapsed()) / 1e6;
            if (!window.siteItem(qint16(count)))
                return 1;
            QMenu menu;
            clock.restart();
            for (const QString& caption : captions)
                menu.addAction(caption);
            floor << double(clock.nsecsElapsed()) / 1e6;
        }
        const auto median = [runs](QList<double>& l) { return std::sort(l.begin(), l.end()), l[runs / 2]; };
        printf("sitelist %d %.3f %.3f\n", count, median(ours), median(floor));
    }
    return 0;
}
