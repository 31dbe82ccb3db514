#include "client/Client.h"
#include "platform/Program.h"
#include "platform/SingleInstance.h"
#include "platform/TimerProbe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Lumenpane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("lumenpane"));
    // Windows hand over to each other; the program ends only where the client says so.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second copy brings the running one forward and ends at once, silently.
    if (SingleInstance::instance().anotherCopyRunning())
        return 0;

    Client client;
    QObject::connect(&SingleInstance::instance(), &SingleInstance::activationRequested, &client,
                     &Client::bringForward);
    client.start();
    TimerProbe::startIfAsked();
    return Program::run();
}
