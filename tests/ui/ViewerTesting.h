#pragma once
// Helpers shared by the report viewer's window tests.

#include "about/frmAbout.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "main/frmMain.h"
#include "main/frmSpecifyDates.h"
#include "platform/WebView.h"
#include "tray/frmSysTray.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>

namespace ViewerTesting {

// Runs a script in the page and returns its result; an invalid value when the page never answered.
inline QVariant runJs(WebView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        qWarning("the page did not run the script: %s", qPrintable(script));
    return result;
}

// The menu bar as "name caption" lines, two blanks of indentation per level.
inline void describeMenu(QMenu* menu, int depth, QStringList& lines) {
    for (QAction* a : menu->actions()) {
        const QString indent(depth * 2, QLatin1Char(' '));
        if (a->isSeparator()) {
            lines << indent + QStringLiteral("-");
        } else if (a->menu()) {
            lines << indent + a->menu()->objectName() + QLatin1Char(' ') + a->text();
            describeMenu(a->menu(), depth + 1, lines);
        } else {
            const QVariant index = a->property("index");
            lines << indent + a->objectName() +
                         (index.isValid() ? QStringLiteral("(%1)").arg(index.toInt()) : QString()) + QLatin1Char(' ') +
                         a->text();
        }
    }
}

inline QStringList menuTree(QMenuBar* bar) {
    QStringList lines;
    for (QAction* a : bar->actions()) {
        lines << a->menu()->objectName() + QLatin1Char(' ') + a->text();
        describeMenu(a->menu(), 1, lines);
    }
    return lines;
}

// The site menu in display order as "index caption", hidden items marked.
inline QStringList siteMenu(frmMain* window) {
    QStringList lines;
    for (QAction* a : window->mnuWebsite->actions())
        lines << QStringLiteral("%1 %2%3")
                     .arg(a->property("index").toInt())
                     .arg(a->text(), a->isVisible() ? "" : " (hidden)");
    return lines;
}

// Unloads every window of the program and lets the deletions happen.
inline void unloadAll() {
    Form<frmAbout>::unload();
    Form<frmSpecifyDates>::unload();
    Form<frmMain>::unload();
    Form<frmSysTray>::unload();
    Form<frmLogin>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A notification area on the test's X display, for as long as the object lives.
class Trayer {
public:
    Trayer() {
        m_process.setProgram(QStringLiteral("trayer"));
        m_process.setArguments({QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                                QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                                QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--heighttype"),
                                QStringLiteral("pixel"), QStringLiteral("--height"), QStringLiteral("28")});
        m_process.start();
    }
    ~Trayer() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
        // The tray is gone only once Qt has seen its owner leave.
        if (!QTest::qWaitFor([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }, 10000))
            qWarning("the notification area is still reported after trayer ended");
    }
    bool started() { return m_process.waitForStarted(10000); }
    bool ready() {
        return started() && QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 20000);
    }

private:
    QProcess m_process;
};

} // namespace ViewerTesting
