#pragma once

#include "TrayMouse.h"

#include <QSystemTrayIcon>
#include <QWidget>

class QAction;
class QMenu;

// The hidden window that owns the program's notification-area icon and its menu. After sign-in it stays
// loaded until the program ends, which happens only through popupExit_Click.
class frmSysTray : public QWidget {
    Q_OBJECT
public:
    frmSysTray();

    void Form_Load();
    void DeleteIcon();
    void popupExit_Click();
    void popupRestore_Click();
    // One mouse event on the icon, as the code the notification area reports.
    void trayIcon_MouseEvent(int code);

    QMenu* mnuPopup = nullptr;
    QAction* popupRestore = nullptr;
    QAction* popupExit = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;

    static QString toolTip() { return QStringLiteral("Quillmoor Lumenpane"); }

private:
    void trayIcon_Activated(QSystemTrayIcon::ActivationReason reason);

    TrayMouse::Decoder m_mouse;
};
