#include "client/Client.h"
#include "platform/Program.h"
#include "platform/SingleInstance.h"
#include "platform/TimerProbe.h"
#include "platform/WindowSystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenpane"));
    // A second copy brings the running one forward and ends at once, silently, before loading any windowing.
    if (SingleInstance::instance().anotherCopyRunning())
        return 0;

    WindowSystem windowSystem;
    QApplication app(argc, argv);
    windowSystem.restore();
    QGuiApplication::setDesktopFileName(QStringLiteral("lumenpane"));
    // Windows hand over to each other; the program ends only where the client says so.
    QApplication::setQuitOnLastWindowClosed(false);

    Client client;
    QObject::connect(&client, &Client::finished, &app, [] { QCoreApplication::exit(0); });
    SingleInstance::instance().listen();
    QObject::connect(&SingleInstance::instance(), &SingleInstance::activationRequested, &client, &Client::bringForward);
    // The launcher's token brings the sign-in window forward, and goes no further (not to the viewer).
    client.start(ActivationToken::takeFromEnvironment());
    TimerProbe::startIfAsked();
    return Program::run();
}
