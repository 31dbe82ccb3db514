// The embedded browser beyond opening addresses: new-window links, downloads, and a renderer that dies.
#include "TestSupport.h"
#include "platform/WebView.h"
#include "session/Protocol.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QtTest>
#include <csignal>

class WebViewTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;
    std::unique_ptr<WebView> view;
    QList<QUrl> opened;

    QVariant js(const QString& script) {
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 30000))
            qWarning("no answer from the page");
        return result;
    }
    bool openReport() {
        QSignalSpy loaded(view.get(), &QWebEngineView::loadFinished);
        view->Navigate(Protocol::StartPageAddress("demo@example.com", "demo123"));
        return loaded.wait(60000) && loaded.last().first().toBool();
    }
    int requestsFor(const QString& line) const { return int(service->server().requestLog().count(line)); }

private slots:
    void init() {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        opened.clear();
        WebView::setExternalOpener([this](const QUrl& url) { opened << url; });
        view = std::make_unique<WebView>();
        view->resize(640, 600);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    void cleanup() {
        view.reset();
        WebView::setExternalOpener(nullptr);
        WebView::setSaveLocationChooser(nullptr);
        boxes.reset();
        service.reset();
    }

    void newWindowsOpenInTheUsersBrowser_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("url");
        QTest::newRow("link with a target") << "document.querySelector('a[target=_blank]').click()"
                                            << "http://example.com/support";
        QTest::newRow("window.open") << "window.open('https://example.org/a?b=c')"
                                     << "https://example.org/a?b=c";
    }
    void newWindowsOpenInTheUsersBrowser() {
        QFETCH(QString, script);
        QFETCH(QString, url);
        QVERIFY(openReport());
        const QUrl before = view->url();
        js(script);
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 20000);
        QCOMPARE(opened.first(), QUrl(url));
        QCOMPARE(view->url(), before);
    }

    void downloadsAskWhereToSave() {
        QTemporaryDir dir;
        QString suggested;
        WebView::setSaveLocationChooser([&](const QString& path) {
            suggested = path;
            return dir.filePath("figures.csv");
        });
        QVERIFY(openReport());
        QSignalSpy ended(view.get(), &WebView::downloadEnded);
        js("document.querySelector('footer a').click()");
        QVERIFY(ended.wait(30000));
        QCOMPARE(ended.first().at(1).toBool(), true);
        QVERIFY2(suggested.endsWith(".csv") && suggested.contains("example.com"), qPrintable(suggested));
        QFile file(dir.filePath("figures.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("Date,Visits,Page views\r\n"));
        QVERIFY(boxes->shown.isEmpty());
    }

    void aDeclinedDownloadSavesNothing() {
        QTemporaryDir dir;
        bool asked = false;
        WebView::setSaveLocationChooser([&](const QString&) {
            asked = true;
            return QString();
        });
        QVERIFY(openReport());
        const QUrl page = view->url();
        js("document.querySelector('footer a').click()");
        QTRY_VERIFY_WITH_TIMEOUT(asked, 30000);
        QCOMPARE(view->url(), page);
        QVERIFY(boxes->shown.isEmpty());
    }

    // A renderer that dies leaves no blank view: the page is loaded again.
    void aDeadRendererReloadsThePage() {
        QVERIFY(openReport());
        const QString first = "GET /lumenpane/default2.asp?autologin=true&email=demo@example.com&password=demo123";
        QCOMPARE(requestsFor(first), 1);
        const qint64 pid = view->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QSignalSpy loaded(view.get(), &QWebEngineView::loadFinished);
        QSignalSpy terminated(view.get(), &QWebEngineView::renderProcessTerminated);
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        QVERIFY(terminated.wait(30000));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && loaded.last().first().toBool(), 60000);
        QCOMPARE(requestsFor(first), 2);
        QCOMPARE(js("document.querySelector('h1').textContent").toString(), QString("example.com"));
    }
};

QTEST_MAIN(WebViewTest)
#include "tst_webview.moc"
