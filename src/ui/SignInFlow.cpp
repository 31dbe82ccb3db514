#include "SignInFlow.h"

#include "forms.h"
#include "login/frmLogin.h"
#include "platform/MessageBox.h"

namespace SignInFlow {

// PLACEHOLDER until the report viewer exists: the sign-in is complete once StartUrl is set.
void signedIn(const QString&, const QString&)
{
    MessageBox::show(QStringLiteral("Signed in. (Placeholder: the report viewer is not built yet.)"),
                     MessageBox::Icon::Information);
}

// PLACEHOLDER until the activation window exists.
void activationRequired()
{
    MessageBox::show(QStringLiteral("This account must be activated first. (Placeholder: the activation window is "
                                    "not built yet.)"),
                     MessageBox::Icon::Information);
}

// PLACEHOLDER until the sign-up window exists.
void newAccount()
{
    MessageBox::show(QStringLiteral("(Placeholder: the sign-up window is not built yet.)"),
                     MessageBox::Icon::Information);
}

} // namespace SignInFlow
