// The embedded browser beyond opening addresses: new-window links, downloads, and a renderer that dies.
#include "ViewerTesting.h"
#include "session/Protocol.h"

#include <QTemporaryDir>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <csignal>

using namespace ViewerTesting;

class WebViewTest : public ViewerTest {
    Q_OBJECT
    std::unique_ptr<WebView> view;
    QList<QUrl> opened;

private slots:
    void init()
    {
        start();
        opened.clear();
        WebView::setExternalOpener([this](const QUrl& url) { opened << url; });
        view = std::make_unique<WebView>();
        view->resize(640, 600);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QVERIFY(loads(view.get(), [&] { view->Navigate(Protocol::StartPageAddress("demo@example.com", "demo123")); }));
    }
    void cleanup()
    {
        view.reset();
        WebView::setExternalOpener(nullptr);
        WebView::setSaveLocationChooser(nullptr);
        stop();
    }

    void newWindowsOpenInTheUsersBrowser_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("link with a target")
            << "document.querySelector('a[target=_blank]').click()" << QUrl("http://example.com/support");
        QTest::newRow("window.open") << "window.open('https://example.org/a?b=c')" << QUrl("https://example.org/a?b=c");
    }
    void newWindowsOpenInTheUsersBrowser()
    {
        QFETCH(QString, script);
        QFETCH(QUrl, url);
        const QUrl before = view->url();
        runJs(view.get(), script);
        QTRY_COMPARE_WITH_TIMEOUT(opened, QList<QUrl>{url}, 20000);
        QCOMPARE(view->url(), before);
    }

    // The report's export link asks where to save; nothing is saved when the question is declined.
    void downloadsAskWhereToSave_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("declined") << false;
    }
    void downloadsAskWhereToSave()
    {
        QFETCH(bool, save);
        QTemporaryDir dir;
        QString suggested;
        WebView::setSaveLocationChooser([&](const QString& path) {
            suggested = path;
            return save ? dir.filePath("figures.csv") : QString();
        });
        QObject context; // connected after the view: sees the state the view left the download in
        std::optional<int> state;
        connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, &context,
                [&](QWebEngineDownloadRequest* download) { state = download->state(); });
        QSignalSpy ended(view.get(), &WebView::downloadEnded);
        runJs(view.get(), "document.querySelector('footer a').click()");
        QTRY_VERIFY_WITH_TIMEOUT(state.has_value(), 30000);
        QCOMPARE(*state, int(save ? QWebEngineDownloadRequest::DownloadInProgress
                                  : QWebEngineDownloadRequest::DownloadCancelled));
        QVERIFY2(suggested.endsWith(".csv") && suggested.contains("example.com"), qPrintable(suggested));
        if (save) {
            QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 30000);
            QCOMPARE(ended.first().mid(0, 2), (QVariantList{dir.filePath("figures.csv"), true}));
            QFile file(dir.filePath("figures.csv"));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().startsWith("Date,Visits,Page views\r\n"));
        }
        QVERIFY(boxes->shown.isEmpty());
    }

    // A renderer that dies leaves no blank view: the page is loaded again.
    void aDeadRendererReloadsThePage()
    {
        QCOMPARE(requestsFor(startPage), 1);
        const qint64 pid = view->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QVERIFY(loads(view.get(), [&] { QCOMPARE(::kill(pid_t(pid), SIGKILL), 0); }));
        QCOMPARE(requestsFor(startPage), 2);
        QCOMPARE(runJs(view.get(), "document.querySelector('h1').textContent").toString(), QString("example.com"));
    }
};

QTEST_MAIN(WebViewTest)
#include "tst_webview.moc"
