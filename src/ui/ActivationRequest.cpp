#include "ActivationRequest.h"

#include "forms.h"
#include "login/frmLogin.h"
#include "platform/SingleInstance.h"
#include "tray/frmSysTray.h"

#include <QApplication>
#include <QWidget>

namespace ActivationRequest {

void listen()
{
    QObject::connect(&SingleInstance::instance(), &SingleInstance::activationRequested, &bringForward);
}

void bringForward()
{
    if (frmSysTray* tray = Form<frmSysTray>::existing()) {
        tray->popupRestore_Click();
        return;
    }
    if (Form<frmLogin>::isLoaded()) {
        Form<frmLogin>::show();
        return;
    }
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && !(window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip)) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->raise();
            window->activateWindow();
        }
    }
}

} // namespace ActivationRequest
