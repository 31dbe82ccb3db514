#include "SignInFlow.h"

#include "enrolment/frmActivation.h"
#include "enrolment/frmSignup.h"
#include "forms.h"
#include "login/frmLogin.h"

// Each hand-over shows the next window first, so that one window is open at every moment.
namespace SignInFlow {

void activationRequired()
{
    Form<frmActivation>::show();
    Form<frmLogin>::unload();
}

void newAccount()
{
    Form<frmSignup>::show();
    Form<frmLogin>::unload();
}

} // namespace SignInFlow
