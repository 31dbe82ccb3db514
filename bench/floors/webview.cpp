// The page-load floor: a bare web view started cold on the page given as the argument; it ends a little after
// the page has loaded, so that the page's own load beacon, which the benchmark times, has gone out.
#include <QApplication>
#include <QTimer>
#include <QWebEngineView>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    QObject::connect(&view, &QWebEngineView::loadFinished, &app,
                     [](bool ok) { QTimer::singleShot(2000, [ok] { QCoreApplication::exit(ok ? 0 : 1); }); });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
