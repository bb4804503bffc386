#include "display_failure.h"

#include <cstdio>
#include <cstdlib>

namespace displayFailure {

QString message(const QByteArray &platformName, const QByteArray &display, const QByteArray &waylandDisplay)
{
    const bool wayland = platformName.startsWith("wayland");
    const QByteArray tried =
        wayland ? (waylandDisplay.isEmpty() ? QByteArrayLiteral("wayland-0") : waylandDisplay) : display;
    if (tried.isEmpty())
        return QStringLiteral("brenvo: needs a graphical desktop session, and DISPLAY names none; "
                              "start Brenvo from the desktop");
    return QStringLiteral("brenvo: needs a graphical desktop session, and could not open the display \"%1\"; "
                          "start Brenvo from the desktop")
        .arg(QString::fromLocal8Bit(tried));
}

QByteArray requestedPlatform(const QByteArrayList &arguments, const QByteArray &qpaPlatform)
{
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-platform" || arguments[i] == "--platform")
            return arguments[i + 1];
    }
    return qpaPlatform;
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
