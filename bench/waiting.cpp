// How the windows answer while they wait on the service (canned in this process's simulator): a precise 10 ms timer
// runs from the click until the outcome, and asks the waiting window (the main window: its menu bar, which holds
// the growing menu; not the page, which would time the software renderer) to repaint at every tick. Prints
// "waiting <what> <longest gap between two ticks, ms>" for a sign-in whose answer is 1 MiB and for a site list of
// 32767 sites, medians of argv[1] runs; fails when a window never repainted meanwhile or an outcome never came.
#include "TestSupport.h"
#include "client/LoginDialog.h"
#include "viewer/MainWindow.h"
#include "viewer/SiteList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {
struct Waited {
    double longestGapMs = 0;
    int repaints = 0;
};

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Starts the wait and follows it until the outcome has been signalled, repainting the part of the window given.
Waited follow(QWidget* window, QWidget* part, const std::function<void()>& start, QSignalSpy& outcome)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return {};
    PaintCounter counter;
    part->installEventFilter(&counter);
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, window, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        part->update();
    });
    clock.start();
    tick.start();
    start();
    if (!outcome.wait(60000))
        return {};
    longest = std::max(longest, clock.nsecsElapsed() - last);
    part->removeEventFilter(&counter);
    return {double(longest) / 1e6, counter.paints};
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char* argv[])
{
    TempSettings settings;
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? atoi(argv[1]) : 5);
    ServiceAndBoxes service;
    const auto answerOf = [](int sites, qsizetype bytes) {
        QByteArray rows;
        for (int id = 1; id <= sites && rows.size() < bytes; ++id)
            rows += "<ROW><SITEID>" + QByteArray::number(id) + "</SITEID><PROFILENAME>site" + QByteArray::number(id) +
                    ".example.com</PROFILENAME></ROW>";
        return SimServer::serviceResponse(QStringLiteral("OK"), rows);
    };

    QList<double> signIn, siteList;
    int fewestRepaints = std::numeric_limits<int>::max();
    for (int run = 0; run < runs; ++run) {
        service.server().setCannedAnswer(answerOf(32767, 1 << 20));
        CredentialStore credentials;
        LoginDialog login(credentials);
        login.findChild<QLineEdit*>("txtEmail")->setText("demo@example.com");
        login.findChild<QLineEdit*>("txtPassword")->setText("demo123");
        QSignalSpy signedIn(&login, &LoginDialog::signedIn);
        const Waited signingIn = follow(
            &login, &login, [&] { login.findChild<QPushButton*>("cmdLogin")->click(); }, signedIn);
        login.hide();

        service.server().setCannedAnswer(answerOf(32767, 1 << 30));
        MainWindow window;
        SiteList list(&window);
        QSignalSpy listed(&list, &SiteList::finished);
        const Waited listing = follow(
            &window, window.menuBar(), [&] { list.load("demo@example.com", "demo123"); }, listed);
        if (!window.siteItem(32767))
            return 1;

        signIn << signingIn.longestGapMs;
        siteList << listing.longestGapMs;
        fewestRepaints = std::min({fewestRepaints, signingIn.repaints, listing.repaints});
    }
    if (fewestRepaints == 0)
        return 1;
    printf("waiting signin-1MiB %.1f\n", median(signIn));
    printf("waiting sitelist-32767 %.1f\n", median(siteList));
    return 0;
}
