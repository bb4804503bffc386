#include "display_choice.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

QByteArray chooseDisplayPlatform(const QByteArrayList &arguments, const DisplayEnvironment &environment,
                                 const std::function<bool(const QByteArray &)> &xServerReachable)
{
    if (!environment.qpaPlatform.isEmpty())
        return {};
    // Qt reads its own options with one dash or two; the program's name comes first.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "-platform" || arguments[i] == "--platform")
            return {};
    }
    if (environment.display.isEmpty() || !xServerReachable(environment.display))
        return {};
    return QByteArrayLiteral("xcb");
}

bool xServerReachable(const QByteArray &display)
{
    // ":0", ":0.1" and "unix:0" are local; "host:0" goes over the network, which only
    // a connection could try.
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:(\\d+)(?:\\.\\d+)?$"));
    const QRegularExpressionMatch m = local.match(QString::fromLocal8Bit(display));
    if (!m.hasMatch())
        return !display.isEmpty() && display.contains(':') && !display.startsWith(':');
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + m.captured(1));
}

DisplayEnvironment currentDisplayEnvironment()
{
    return {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
}

} // namespace platform
