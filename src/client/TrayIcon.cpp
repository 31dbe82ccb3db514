#include "TrayIcon.h"

#include "platform/AppIcon.h"
#include "platform/WindowActivation.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QMenu>

namespace {
// Whether Qt puts the icon on a D-Bus notification area: it does so when a watcher with a registered host runs
// on the session bus as the icon is made, and falls back to an X11 tray otherwise.
bool onDBusNotificationArea()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}
} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("frmSysTray"));
    m_menu = new QMenu(QStringLiteral("Popup Menu"));
    m_menu->setObjectName(QStringLiteral("mnuPopup"));
    QAction* restore = m_menu->addAction(QStringLiteral("Restore"));
    restore->setObjectName(QStringLiteral("popupRestore"));
    QAction* exit = m_menu->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("popupExit"));
    connect(restore, &QAction::triggered, this, &TrayIcon::requestRestore);
    connect(exit, &QAction::triggered, this, &TrayIcon::exitRequested);

    m_activationRestores = onDBusNotificationArea();
    m_icon = new QSystemTrayIcon(AppIcon::icon(), this);
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_icon->setToolTip(toolTip());
    // Some notification areas draw the icon's menu themselves, and show no icon at all without one.
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

TrayIcon::~TrayIcon()
{
    m_icon->hide();
    delete m_menu.data();
}

void TrayIcon::show()
{
    // Where there is no notification area the icon stays away; on X11 it appears should one start later. Elsewhere
    // only a notification area over D-Bus could show it, and Qt looks for that once, as the first icon is made.
    if (QSystemTrayIcon::isSystemTrayAvailable() || QGuiApplication::platformName() == QLatin1String("xcb"))
        m_icon->show();
}

void TrayIcon::requestRestore()
{
    emit restoreRequested(WindowActivation::forTrayAction());
}

void TrayIcon::hide()
{
    m_icon->hide();
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (m_activationRestores && reason == QSystemTrayIcon::Trigger) {
        requestRestore();
        return;
    }
    for (int code : TrayMouse::codesFor(reason))
        handleMouseCode(code);
}

void TrayIcon::handleMouseCode(int code)
{
    switch (m_mouse.feed(code)) {
    case TrayMouse::Action::Restore:
        requestRestore();
        break;
    case TrayMouse::Action::ShowMenu:
        // Most notification areas have opened the context menu already; do not open a second one.
        if (!m_menu->isVisible())
            m_menu->popup(QCursor::pos());
        break;
    case TrayMouse::Action::None:
        break;
    }
}
