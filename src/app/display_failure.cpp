#include "display_failure.h"

#include <cstdio>
#include <cstdlib>

namespace displayFailure {

QString message(const QByteArray &platformName, const QByteArray &display, const QByteArray &waylandDisplay)
{
    // A plug-in of another kind than X11 or Wayland (or none of that name) names no display.
    const QByteArray plugin = platformName.contains(':') ? platformName.left(platformName.indexOf(':')) : platformName;
    if (!plugin.isEmpty() && plugin != "xcb" && !plugin.startsWith("wayland"))
        return QStringLiteral("brenvo: needs a graphical desktop session, and could not start the display "
                              "platform \"%1\"; start Brenvo from the desktop")
            .arg(QString::fromLocal8Bit(plugin));
    const bool wayland = plugin.startsWith("wayland");
    const QByteArray tried =
        wayland ? (waylandDisplay.isEmpty() ? QByteArrayLiteral("wayland-0") : waylandDisplay) : display;
    if (tried.isEmpty())
        return QStringLiteral("brenvo: needs a graphical desktop session, and DISPLAY names none; "
                              "start Brenvo from the desktop");
    return QStringLiteral("brenvo: needs a graphical desktop session, and could not open the display \"%1\"; "
                          "start Brenvo from the desktop")
        .arg(QString::fromLocal8Bit(tried));
}

namespace {
// The value given after option (or --option), else fallback.
QByteArray optionValue(const QByteArrayList &arguments, const char *option, const QByteArray &fallback)
{
    const QByteArray single = QByteArray("-") + option;
    const QByteArray dashed = "-" + single;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == single || arguments[i] == dashed)
            return arguments[i + 1];
    }
    return fallback;
}
} // namespace

QByteArray requestedPlatform(const QByteArrayList &arguments, const QByteArray &qpaPlatform)
{
    return optionValue(arguments, "platform", qpaPlatform);
}

QByteArray requestedDisplay(const QByteArrayList &arguments, const QByteArray &display)
{
    return optionValue(arguments, "display", display);
}

Guard::Guard(QString line) : m_line(std::move(line))
{
    s_active = this;
    m_previous = qInstallMessageHandler(&Guard::handle);
}

Guard::~Guard()
{
    qInstallMessageHandler(m_previous);
    s_active = nullptr;
    for (const Held &h : m_held) {
        const QMessageLogContext context(h.file.constData(), h.line, h.function.constData(), h.category.constData());
        qt_message_output(h.type, context, h.text);
    }
}

void Guard::handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    Guard *self = s_active;
    if (type == QtFatalMsg) {
        // Only the display can fail this early: Qt found no plug-in that could open it.
        std::fprintf(stderr, "%s\n", qPrintable(self ? self->m_line : text));
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (self)
        self->m_held.push_back({type, context.category, context.file, context.function, context.line, text});
}

} // namespace displayFailure
