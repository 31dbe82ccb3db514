#include "Client.h"

#include "ActivationDialog.h"
#include "LoginDialog.h"
#include "SignUpDialog.h"
#include "TrayIcon.h"
#include "platform/MessageBox.h"
#include "platform/WindowActivation.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QSystemTrayIcon>

using HandOver::Kind;

Client::Client(QObject* parent) : QObject(parent)
{
    connect(&m_viewer, &ViewerProcess::received, this, &Client::viewerSaid);
    connect(&m_viewer, &ViewerProcess::ended, this, &Client::viewerEnded);
}

Client::~Client()
{
    delete m_login;
    delete m_signUp;
    delete m_activation;
    m_viewer.stop();
}

void Client::start(const ActivationToken& launch)
{
    m_launch = launch;
    showLogin();
}

template <class Window> void Client::dismiss(QPointer<Window>& window)
{
    if (!window)
        return;
    window->disconnect(this);
    window->hide();
    window->deleteLater();
    window.clear();
}

void Client::showLogin()
{
    if (m_ended)
        return; // Exit came while a box of the window that hands over was open
    m_login = new LoginDialog(m_credentials);
    connect(m_login, &LoginDialog::signedIn, this, &Client::signedIn);
    connect(m_login, &LoginDialog::activationRequired, this, &Client::showActivation);
    connect(m_login, &LoginDialog::newAccountRequested, this, &Client::showSignUp);
    connect(m_login, &QDialog::rejected, this, &Client::exit);
    // Once the window is on screen, the viewer starts in the background so that its engine is warm by "Login";
    // started any earlier, it would compete with the window for the processor while it appears.
    WindowPlacement::afterFirstPaint(m_login, [this] { m_viewer.start(); });
    m_login->show();
    // A Wayland compositor lets a window take the focus only with its launcher's token (on X11 Qt passes the
    // launcher's startup id on by itself).
    if (!m_launch.wayland.isEmpty())
        WindowActivation::bringForward(m_login, std::exchange(m_launch, {}));
}

// Each hand-over shows the next window first, so that one window is open at every moment.
void Client::showSignUp()
{
    m_signUp = new SignUpDialog(m_credentials);
    connect(m_signUp, &SignUpDialog::accountCreated, this, [this] {
        showLogin();
        dismiss(m_signUp);
    });
    connect(m_signUp, &QDialog::rejected, this, &Client::exit);
    m_signUp->show();
    dismiss(m_login);
}

void Client::showActivation()
{
    m_activation = new ActivationDialog;
    connect(m_activation, &ActivationDialog::activated, this, [this] {
        showLogin();
        dismiss(m_activation);
    });
    connect(m_activation, &QDialog::rejected, this, &Client::exit);
    m_activation->show();
    dismiss(m_login);
}

void Client::signedIn(const SessionInfo& session)
{
    m_session = session;
    m_signedIn = true;
    if (!m_tray) {
        m_tray = new TrayIcon(this);
        connect(m_tray, &TrayIcon::restoreRequested, this, &Client::restore);
        connect(m_tray, &TrayIcon::exitRequested, this, &Client::exit);
    }
    m_tray->show();
    // The sign-in window stays until the main window shows, but takes no second click meanwhile.
    m_login->setEnabled(false);
    m_waitingForViewer = true;
    m_viewerStarts = m_viewer.isRunning() ? 0 : 1;
    m_viewer.send({Kind::Open, m_session, true});
}

void Client::restore(const ActivationToken& token)
{
    if (!m_signedIn)
        return;
    // Until the main window has shown, a viewer that ends is replaced: one that was closing its last window
    // when Show reached it ignores it and goes.
    if (!m_restoring && !m_waitingForViewer)
        m_viewerStarts = m_viewer.isRunning() ? 0 : 1;
    m_restoring = true;
    if (m_viewer.isRunning())
        m_viewer.send({Kind::Show, {}, false, token});
    else
        m_viewer.send({Kind::Open, m_session, false, token}); // a fresh main window knows only "Refresh List"
}

void Client::bringForward(const ActivationToken& token)
{
    if (m_signedIn) {
        restore(token);
        return;
    }
    for (QWidget* window : {static_cast<QWidget*>(m_login.data()), static_cast<QWidget*>(m_signUp.data()),
                            static_cast<QWidget*>(m_activation.data())}) {
        if (window)
            WindowActivation::bringForward(window, token);
    }
}

void Client::exit()
{
    if (m_ended)
        return;
    m_ended = true;
    // Everything on screen goes first; the viewer may take a moment to end behind it.
    if (m_tray)
        m_tray->hide();
    dismiss(m_login);
    dismiss(m_signUp);
    dismiss(m_activation);
    m_waitingForViewer = m_restoring = false; // the viewer that ends now is not to be replaced
    m_viewer.stop();
    emit finished();
}

void Client::viewerSaid(const HandOver::Message& message)
{
    switch (message.kind) {
    case Kind::Shown:
        m_restoring = false;
        if (m_waitingForViewer) {
            m_waitingForViewer = false;
            dismiss(m_login);
        }
        break;
    case Kind::Period:
        m_session.from = message.session.from;
        m_session.to = message.session.to;
        break;
    case Kind::Exit:
        exit();
        break;
    case Kind::MainClosed:
        // Without a notification area nothing would be left to come back from, or to end the program with.
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            exit();
        break;
    default:
        break;
    }
}

void Client::viewerEnded()
{
    if (!m_waitingForViewer && !m_restoring)
        return; // the tray stays; "Restore" starts a new viewer
    // The viewer went away before its window showed: one more try, then say so and let the user try again.
    if (m_viewerStarts++ < 2) {
        m_viewer.send({Kind::Open, m_session, m_waitingForViewer});
        return;
    }
    m_waitingForViewer = m_restoring = false;
    if (m_login)
        m_login->setEnabled(true);
    MessageBox::show(QStringLiteral("The report viewer could not be started."), MessageBox::Icon::Critical);
}
