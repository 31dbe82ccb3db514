#pragma once
// Helpers shared by the report viewer's window tests.

#include "TestSupport.h"
#include "about/frmAbout.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "main/frmMain.h"
#include "main/frmSpecifyDates.h"
#include "platform/Clock.h"
#include "platform/WebView.h"
#include "platform/XmlDocument.h"
#include "session/Session.h"
#include "tray/frmSysTray.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

namespace ViewerTesting {

// Runs a script in the page and returns its result; an invalid value when the page never answered.
inline QVariant runJs(WebView* view, const QString& script)
{
    std::optional<QVariant> result;
    view->page()->runJavaScript(script, [&](const QVariant& value) { result = value; });
    return QTest::qWaitFor([&] { return result.has_value(); }, 30000) ? *result : QVariant();
}

// Runs the command and waits for the page load it starts; true when that load succeeded.
inline bool loads(WebView* view, const std::function<void()>& command)
{
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    command();
    return loaded.wait(60000) && loaded.last().first().toBool();
}

// Adds "menu: item, item, ..." for the menu and then for each of its submenus; an item is "name caption",
// or "name(index) caption" in an indexed array.
inline void describeMenu(const QString& menu, const QList<QAction*>& actions, QStringList& lines)
{
    const qsizetype at = lines.size();
    QStringList items;
    lines << menu;
    for (QAction* a : actions) {
        const QVariant index = a->property("index");
        items << (a->menu() ? a->menu()->objectName() : a->objectName()) +
                     (index.isValid() ? QString("(%1)").arg(index.toInt()) : QString()) + ' ' + a->text();
        if (a->menu())
            describeMenu(items.last(), a->menu()->actions(), lines);
    }
    lines[at] += ": " + items.join(", ");
}

// The site menu in display order as "index caption", hidden items marked.
inline QStringList siteMenu(frmMain* window)
{
    QStringList lines;
    for (QAction* a : window->mnuWebsite->actions())
        lines << QString("%1 %2%3").arg(a->property("index").toInt()).arg(a->text(), a->isVisible() ? "" : " (hidden)");
    return lines;
}

// Unloads every window of the program and lets the deletions happen.
inline void unloadAll()
{
    Form<frmAbout>::unload();
    Form<frmSpecifyDates>::unload();
    Form<frmMain>::unload();
    Form<frmSysTray>::unload();
    Form<frmLogin>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Signs in with the demo account through the sign-in window; the main window, when it appeared.
inline frmMain* signIn()
{
    frmLogin* login = Form<frmLogin>::show();
    login->txtEmail->setText("demo@example.com");
    login->txtPassword->setText("demo123");
    QTest::mouseClick(login->cmdLogin, Qt::LeftButton);
    frmMain* w = Form<frmMain>::existing();
    if (!w || !QTest::qWaitForWindowExposed(w))
        qWarning("the main window did not appear");
    return w;
}

// What every window test starts from: private settings, the simulator in this process, message boxes
// answered and recorded, a fresh session, and today fixed at Thursday 11/8/2007.
class ViewerTest : public QObject {
protected:
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;
    const QString startPage = "default2.asp?autologin=true&email=demo@example.com&password=demo123";

    ViewerTest()
    {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }
    void start()
    {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        XmlDocument::setTransferTimeoutMs(30000);
        QSettings().clear();
        Session::reset();
        Clock::setTestToday(QDate(2007, 11, 8));
        Session::FromDate = Session::ToDate = Clock::today();
    }
    void stop()
    {
        unloadAll();
        boxes.reset();
        service.reset();
    }
    QString report(const QString& pathAndQuery) const { return service->base() + "/lumenpane/" + pathAndQuery; }
    int requestsFor(const QString& pathAndQuery) const
    {
        return int(service->server().requestLog().count("GET /lumenpane/" + pathAndQuery));
    }
    // Neither a message box nor the busy pointer is left behind.
    bool quiet() const { return boxes->shown.isEmpty() && !QApplication::overrideCursor(); }
};

} // namespace ViewerTesting
