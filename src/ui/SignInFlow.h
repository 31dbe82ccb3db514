#pragma once

#include <QString>

// The hand-overs between the windows around signing in; each ends with the sign-in window unloaded.
namespace SignInFlow {
// The service accepted the sign-in and StartUrl is set: the tray, the main window, the site list.
void signedIn(const QString& email, const QString& password);
// The service refused the sign-in because the account still needs its activation code.
void activationRequired();
// The user asked to create a new account.
void newAccount();
} // namespace SignInFlow
