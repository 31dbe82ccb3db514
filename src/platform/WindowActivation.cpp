#include "WindowActivation.h"

#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

namespace WindowActivation {

namespace {
bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}
bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Qt's X11 plugin keeps the time it stamps its requests with, and the startup id it puts on the next window it
// maps; these are its own functions for changing them, handed out without their types (void (*)() matches any).
template <class Function, class Given> Function typed(Given given)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(given));
}
void setX11StartupId(const QString& id)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (auto set = typed<void (*)(const char*)>(native->nativeResourceFunctionForIntegration("setstartupid")))
        set(id.toUtf8().constData());
}
void setX11Time(QScreen* screen, quint32 time)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (auto set = typed<void (*)(QScreen*, quint32)>(native->nativeResourceFunctionForScreen("setapptime")))
        set(screen, time);
}

// Qt's Wayland plugin hands the compositor the token in XDG_ACTIVATION_TOKEN with the next activation request,
// and removes it.
void activateWithToken(QWidget* window, const QString& token)
{
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    window->activateWindow();
}
} // namespace

void bringForward(QWidget* window, const ActivationToken& token)
{
    const bool wasVisible = window->isVisible();
    if (onX11() && !token.startupId.isEmpty()) {
        if (!wasVisible)
            setX11StartupId(token.startupId);
        if (const quint32 time = ActivationToken::startupTime(token.startupId))
            setX11Time(window->screen(), time);
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    if (!onWayland() || token.wayland.isEmpty()) {
        window->activateWindow();
        return;
    }
    // The compositor takes a token only for a window it knows: one just shown waits until it is on screen.
    if (window->windowHandle() && window->windowHandle()->isExposed()) {
        activateWithToken(window, token.wayland);
        return;
    }
    QPointer<QWidget> shown = window;
    WindowPlacement::afterFirstPaint(window, [shown, token] {
        if (shown && shown->isVisible())
            activateWithToken(shown, token.wayland);
    });
}

ActivationToken forTrayAction()
{
    // Qt's D-Bus tray puts the token the notification area provides into the environment.
    ActivationToken token = ActivationToken::takeFromEnvironment();
    if (token.isEmpty() && onX11()) {
        QScreen* screen = QGuiApplication::primaryScreen();
        const auto now = quint32(quintptr(
            screen ? QGuiApplication::platformNativeInterface()->nativeResourceForScreen("gettimestamp", screen)
                   : nullptr));
        if (now)
            token.startupId = QStringLiteral("lumenpane-%1_TIME%2").arg(QCoreApplication::applicationPid()).arg(now);
    }
    return token;
}

} // namespace WindowActivation
