#include "app/startup.h"
#include "platform/services.h"
#include "ui/forms.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brenvo"));
    // No display name: Qt would append it to every title bar.
    QApplication::setDesktopFileName(QStringLiteral("brenvo"));
    // The program ends only from its exit screen, never because no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);
    // One look on every desktop: the forms' own colours need a style that honours them.
    forms::installLook();
    platform::installRealServices();

    StartProgram();
    return QApplication::exec();
}
