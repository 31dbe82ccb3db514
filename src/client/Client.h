#pragma once

#include "ViewerProcess.h"
#include "platform/ActivationToken.h"
#include "session/CredentialStore.h"
#include "session/SessionInfo.h"

#include <QObject>
#include <QPointer>

class ActivationDialog;
class LoginDialog;
class SignUpDialog;
class TrayIcon;

// The first process: it owns the session and the lifetimes of the sign-in, sign-up and activation windows, the
// tray icon and the report viewer, and holds the flows between them.
//
//   start          → the sign-in window, and the viewer started hidden so that its engine is warm
//   signed in      → the tray icon; the viewer opens the session (start page, site list) and shows its window;
//                    once it is on screen the sign-in window goes
//   refusal 45     → the activation window; activated → a fresh sign-in window
//   New Account    → the sign-up window; account created → a fresh sign-in window
//   Restore        → the viewer brings its main window back (a new viewer if it has ended)
//   Exit           → the icon goes, the viewer ends, the program ends
//   a close box before the sign-in, or the main window closed where there is no notification area → Exit
// Every step acts at once: a window that waits for the service still answers, and closing it drops its request.
class Client : public QObject {
    Q_OBJECT
public:
    explicit Client(QObject* parent = nullptr);
    ~Client() override;

    // The token is the one this program was started with, for the first sign-in window.
    void start(const ActivationToken& launch = {});
    // A second copy of the program asked this one to come forward, handing over the token it was started with.
    void bringForward(const ActivationToken& token = {});
    void restore(const ActivationToken& token = {});
    void exit();

    bool isSignedIn() const { return m_signedIn; }
    bool hasEnded() const { return m_ended; }
    const SessionInfo& session() const { return m_session; }
    TrayIcon* trayIcon() const { return m_tray; }
    ViewerProcess& viewer() { return m_viewer; }

signals:
    // The program is done: its windows and icon are gone, and so is the viewer.
    void finished();

private:
    void showLogin();
    void showSignUp();
    void showActivation();
    void signedIn(const SessionInfo& session);
    void viewerSaid(const HandOver::Message& message);
    void viewerEnded();
    // Closes and forgets a window without the close ending the program.
    template <class Window> void dismiss(QPointer<Window>& window);

    CredentialStore m_credentials;
    SessionInfo m_session;
    ActivationToken m_launch; // for the first sign-in window, until it has come forward
    bool m_signedIn = false;
    bool m_ended = false;
    bool m_waitingForViewer = false; // signed in, the sign-in window waits for the main window to show
    bool m_restoring = false;        // Restore asked for the main window, which has not shown yet
    int m_viewerStarts = 0;          // starts for the request under way, to give up on a viewer that cannot start
    QPointer<LoginDialog> m_login;
    QPointer<SignUpDialog> m_signUp;
    QPointer<ActivationDialog> m_activation;
    TrayIcon* m_tray = nullptr;
    ViewerProcess m_viewer;
};
