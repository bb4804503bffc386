#include "display_choice.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>

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

QString localXSocket(const QByteArray &display)
{
    // ":0", ":0.1" and "unix:0": a display number, then perhaps a screen number. Parsed
    // by hand: this runs before every start, and a regular expression would bring its
    // engine into memory for one line.
    const auto digits = [](QByteArrayView text) {
        return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    QByteArrayView rest(display);
    if (rest.startsWith("unix:"))
        rest = rest.sliced(4);
    if (!rest.startsWith(':'))
        return {};
    rest = rest.sliced(1);
    const qsizetype dot = rest.indexOf('.');
    const QByteArrayView number = dot < 0 ? rest : rest.first(dot);
    if (!digits(number) || (dot >= 0 && !digits(rest.sliced(dot + 1))))
        return {};
    return QStringLiteral("/tmp/.X11-unix/X") + QLatin1StringView(number.data(), number.size());
}

bool xServerReachable(const QByteArray &display)
{
    const QString socket = localXSocket(display);
    if (socket.isEmpty()) // "host:0" goes over the network, which only a connection could try
        return display.contains(':') && !display.startsWith(':') && !display.startsWith("unix:");
    return QFileInfo::exists(socket);
}

DisplayEnvironment currentDisplayEnvironment()
{
    return {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
}

} // namespace platform
