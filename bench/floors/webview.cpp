// The page-load floor: a bare web view started cold on the page given as the argument; it ends once the
// page has loaded.
#include <QApplication>
#include <QWebEngineView>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    QObject::connect(&view, &QWebEngineView::loadFinished, &app, [](bool ok) { QCoreApplication::exit(ok ? 0 : 1); });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
