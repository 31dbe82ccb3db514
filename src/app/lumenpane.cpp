#include "client/Client.h"
#include "platform/Program.h"
#include "platform/SingleInstance.h"
#include "platform/TimerProbe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenpane"));
    // A second copy brings the running one forward and ends at once, silently, before loading any windowing.
    if (SingleInstance::instance().anotherCopyRunning())
        return 0;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("lumenpane"));
    // Windows hand over to each other; the program ends only where the client says so.
    QApplication::setQuitOnLastWindowClosed(false);

    Client client;
    QObject::connect(&client, &Client::finished, &app, [] { QCoreApplication::exit(0); });
    SingleInstance::instance().listen();
    QObject::connect(&SingleInstance::instance(), &SingleInstance::activationRequested, &client, &Client::bringForward);
    client.start();
    TimerProbe::startIfAsked();
    return Program::run();
}
