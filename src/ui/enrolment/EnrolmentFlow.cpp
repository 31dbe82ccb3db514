#include "SignInFlow.h"

#include "platform/MessageBox.h"

namespace SignInFlow {

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
    MessageBox::show(QStringLiteral("(Placeholder: the sign-up window is not built yet.)"), MessageBox::Icon::Information);
}

} // namespace SignInFlow
