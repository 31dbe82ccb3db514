// The start-up floor: a bare Qt Widgets window and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bench Floor Window"));
    window.show();
    return app.exec();
}
