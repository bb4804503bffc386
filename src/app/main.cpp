#include "app/Program.h"
#include "app/commandline.h"
#include "app/display_failure.h"
#include "platform/display_choice.h"
#include "platform/instance_lock.h"
#include "platform/services.h"
#include "ui/forms.h"

#include <QApplication>
#include <optional>
#include <vector>

int main(int argc, char *argv[])
{
    if (const int status = commandline::informOnly(argc, argv); status >= 0)
        return status;

    std::vector<char *> arguments(argv, argv + argc);
    QByteArrayList given;
    for (char *a : arguments)
        given << QByteArray(a);
    const platform::DisplayEnvironment environment = platform::currentDisplayEnvironment();
    QByteArray platformName = displayFailure::requestedPlatform(given, environment.qpaPlatform);
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // X11 whenever an X server is at hand, Xwayland included, unless the user chose.
    static char platformOption[] = "-platform";
    static char x11[] = "xcb";
    if (platform::chooseDisplayPlatform(given, environment, platform::xServerReachable) == "xcb") {
        arguments.push_back(platformOption);
        arguments.push_back(x11);
        platformName = x11;
    }
#endif
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    std::optional<QApplication> app;
    {
        const platform::RuntimeFolderLoan runtimeFolder;
        const displayFailure::Guard guard(
            displayFailure::message(platformName, environment.display, environment.waylandDisplay));
        app.emplace(count, arguments.data());
    }
    QApplication::setApplicationName(QStringLiteral("brenvo"));
    // No display name: Qt would append it to every title bar.
    QApplication::setDesktopFileName(QStringLiteral("brenvo"));
    // The program ends only from its exit screen, never because no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);
    // One look on every desktop: the forms' own colours need a style that honours them.
    forms::installLook();
    Program program(platform::realServices());
    program.start();
    return QApplication::exec();
}
