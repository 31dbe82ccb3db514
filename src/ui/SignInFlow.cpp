#include "SignInFlow.h"

#include "forms.h"
#include "login/frmLogin.h"
#include "main/SiteList.h"
#include "main/frmMain.h"
#include "tray/frmSysTray.h"

namespace SignInFlow {

void signedIn(const QString& email, const QString& password)
{
    // The tray first: it takes the main window's icon, which loads the main window and starts the start page.
    Form<frmSysTray>::get();
    Form<frmMain>::get();
    // The site list lets events through between sites; a second Login click meanwhile would sign in twice.
    if (frmLogin* login = Form<frmLogin>::existing())
        login->setEnabled(false);
    LoadSiteList(email, password);
    Form<frmLogin>::unload();
    Form<frmMain>::show();
}

} // namespace SignInFlow
