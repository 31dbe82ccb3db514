#include "SignInFlow.h"

#include "platform/MessageBox.h"

namespace SignInFlow {

// PLACEHOLDER until the report viewer exists: the sign-in is complete once StartUrl is set.
void signedIn(const QString&, const QString&)
{
    MessageBox::show(QStringLiteral("Signed in. (Placeholder: the report viewer is not built yet.)"),
                     MessageBox::Icon::Information);
}

} // namespace SignInFlow
