#include "frmSysTray.h"

#include "forms.h"
#include "main/frmMain.h"
#include "platform/Program.h"

#include <QCursor>
#include <QMenu>

frmSysTray::frmSysTray() : QWidget(nullptr)
{
    setObjectName(QStringLiteral("frmSysTray"));
    setWindowTitle(QStringLiteral("System Tray"));

    mnuPopup = new QMenu(QStringLiteral("Popup Menu"), this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    popupRestore = mnuPopup->addAction(QStringLiteral("Restore"));
    popupRestore->setObjectName(QStringLiteral("popupRestore"));
    popupExit = mnuPopup->addAction(QStringLiteral("Exit"));
    popupExit->setObjectName(QStringLiteral("popupExit"));
    connect(popupRestore, &QAction::triggered, this, &frmSysTray::popupRestore_Click);
    connect(popupExit, &QAction::triggered, this, &frmSysTray::popupExit_Click);

    trayIcon = new QSystemTrayIcon(this);
    trayIcon->setObjectName(QStringLiteral("trayIcon"));
    connect(trayIcon, &QSystemTrayIcon::activated, this, &frmSysTray::trayIcon_Activated);
}

void frmSysTray::Form_Load()
{
    // Taking the main window's icon loads the main window, hidden, when it is not loaded yet.
    trayIcon->setIcon(Form<frmMain>::get()->windowIcon());
    trayIcon->setToolTip(toolTip());
    // Some notification areas draw the icon's menu themselves, and show no icon at all without one.
    trayIcon->setContextMenu(mnuPopup);
    // Where there is no notification area the icon stays away; it appears should one start later.
    trayIcon->show();
}

void frmSysTray::trayIcon_Activated(QSystemTrayIcon::ActivationReason reason)
{
    for (int code : TrayMouse::codesFor(reason))
        trayIcon_MouseEvent(code);
}

void frmSysTray::trayIcon_MouseEvent(int code)
{
    switch (m_mouse.feed(code)) {
    case TrayMouse::Action::Restore:
        popupRestore_Click();
        break;
    case TrayMouse::Action::ShowMenu:
        // Most notification areas have opened the context menu already; do not open a second one.
        if (!mnuPopup->isVisible())
            mnuPopup->popup(QCursor::pos());
        break;
    case TrayMouse::Action::None:
        break;
    }
}

void frmSysTray::DeleteIcon()
{
    trayIcon->hide();
}

void frmSysTray::popupExit_Click()
{
    DeleteIcon();
    Form<frmSysTray>::unload();
    // Ends at once: the other windows go without their close handlers running.
    Program::end();
}

void frmSysTray::popupRestore_Click()
{
    frmMain* window = Form<frmMain>::get();
    window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    Form<frmMain>::show();
}
