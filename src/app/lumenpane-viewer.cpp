#include "platform/WindowSystem.h"
#include "viewer/Viewer.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace {
// The pipe to the client gets a private copy of standard output, and standard output itself then goes to
// standard error: whatever a library prints can never end up among the messages.
int takeOverStandardOutput()
{
    const int channel = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (channel >= 0)
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
    return channel;
}
} // namespace

int main(int argc, char* argv[])
{
#ifdef Q_OS_LINUX
    // Never outlive the client, even when it is killed before it can close the pipe.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    // A write to a client that has gone fails and ends the viewer, rather than killing it on the spot.
    ::signal(SIGPIPE, SIG_IGN);
    const int channel = takeOverStandardOutput();

    // The desktop takes the viewer's windows for the client's (X11 window class "lumenpane", "Lumenpane", as the
    // desktop entry's StartupWMClass says), not for a program of their own.
    qputenv("RESOURCE_NAME", QByteArrayLiteral("lumenpane"));
    WindowSystem windowSystem;
    QApplication app(argc, argv);
    windowSystem.restore();
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Lumenpane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("lumenpane"));
    // The viewer decides when it ends: a hidden window may wait for the next Show.
    QApplication::setQuitOnLastWindowClosed(false);

    QFile output;
    if (channel < 0 || !output.open(channel, QIODevice::WriteOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle)) {
        qCritical("lumenpane-viewer: no channel to the client");
        return 1;
    }

    Viewer viewer(&output);
    QObject::connect(
        &viewer, &Viewer::finished, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    const auto readInput = [&] {
        char buffer[64 * 1024];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got > 0) {
            viewer.receive(QByteArray(buffer, got));
        } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
            input.setEnabled(false); // end of file or a broken pipe: the client has gone
            viewer.inputEnded();
        }
    };
    QObject::connect(&input, &QSocketNotifier::activated, &viewer, readInput);

    // To restore, the client starts the viewer and sends Open at once: when that is already waiting, the start
    // page is the first page the engine loads, without the blank warm-up page before it.
    pollfd waiting = {STDIN_FILENO, POLLIN, 0};
    if (::poll(&waiting, 1, 0) > 0)
        readInput();
    viewer.start();
    return QApplication::exec();
}
