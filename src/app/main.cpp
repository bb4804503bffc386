#include "app/Program.h"
#include "app/commandline.h"
#include "platform/scale_factors.h"
#include "platform/services.h"
#include "ui/forms.h"

#include <QApplication>
#include <cstdio>
#include <optional>
#include <vector>

#ifdef Q_OS_WIN
namespace {
// Windows has one display: Qt's own start is all there is to it.
void openDisplay(int &argc, char **argv, std::optional<QApplication> &app)
{
    app.emplace(argc, argv);
}
} // namespace
#else
#include "app/display_failure.h"
#include "platform/display_choice.h"
#include "platform/instance_lock.h"
#include "platform/locale_choice.h"

namespace {
// X11 whenever an X server is at hand, Xwayland included, unless the user chose; a
// display that cannot be opened is reported in one line.
void openDisplay(int argc, char **argv, std::optional<QApplication> &app)
{
    // Qt keeps the argument vector and its count for the life of the application.
    static std::vector<char *> arguments(argv, argv + argc);
    static int count = 0;
    QByteArrayList given;
    for (char *a : arguments)
        given << QByteArray(a);
    const platform::DisplayEnvironment environment = platform::currentDisplayEnvironment();
    QByteArray platformName = displayFailure::requestedPlatform(given, environment.qpaPlatform);
    static char platformOption[] = "-platform";
    static char x11[] = "xcb";
    if (platform::chooseDisplayPlatform(given, environment, platform::xServerReachable) == "xcb") {
        arguments.push_back(platformOption);
        arguments.push_back(x11);
        platformName = x11;
    }
    count = int(arguments.size());
    arguments.push_back(nullptr);
    const platform::RuntimeFolderLoan runtimeFolder;
    const platform::Utf8LocaleLoan utf8Locale;
    const displayFailure::Guard guard(displayFailure::message(
        platformName, displayFailure::requestedDisplay(given, environment.display), environment.waylandDisplay));
    app.emplace(count, arguments.data());
}
} // namespace
#endif

int main(int argc, char *argv[])
{
    platform::treatLimitsAsErrors();
    if (const int status = commandline::informOnly(argc, argv); status >= 0)
        return status;

    for (const QString &line : platform::dropUnusableScaleFactors())
        std::fprintf(stderr, "%s\n", qPrintable(line));
    std::optional<QApplication> app;
    openDisplay(argc, argv, app);
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
