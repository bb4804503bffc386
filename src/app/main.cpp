#include "app/startup.h"
#include "platform/services.h"
#include "ui/forms.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brenvo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brenvo"));
    QApplication::setDesktopFileName(QStringLiteral("brenvo"));
    // The program ends only from its exit screen, never because no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);
    // One look on every desktop: the forms' own colours need a style that honours them.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    forms::installFontFaces();
    platform::installRealServices();

    StartProgram();
    return QApplication::exec();
}
