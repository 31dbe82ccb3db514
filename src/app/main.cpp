#include "ActivationRequest.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/Program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Lumenpane"));
    // Windows hand over to each other; the program ends only where a window says so.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second copy started later brings this one forward.
    ActivationRequest::listen();
    Form<frmLogin>::show();
    return Program::run();
}
