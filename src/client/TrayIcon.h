#pragma once

#include "TrayMouse.h"
#include "platform/ActivationToken.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QAction;

// The program's icon in the notification area with its menu, "Restore" and "Exit". It appears after a sign-in and
// stays until the program ends.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    static QString toolTip() { return QStringLiteral("Quillmoor Lumenpane"); }

    void show();
    void hide();
    QMenu* menu() const { return m_menu; }
    QSystemTrayIcon* icon() const { return m_icon; }
    // One mouse event on the icon, as the code the notification area reports.
    void handleMouseCode(int code);

signals:
    // With the token that lets the main window come forward for this action of the user.
    void restoreRequested(const ActivationToken& token);
    void exitRequested();

private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void requestRestore();

    // On a notification area over D-Bus the host reports a click only as a plain activation, never as a
    // double click: there the activation itself restores.
    bool m_activationRestores = false;
    QPointer<QMenu> m_menu; // a window without a parent: the program may close it first as it ends
    QSystemTrayIcon* m_icon = nullptr;
    TrayMouse::Decoder m_mouse;
};
