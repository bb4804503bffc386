// Which of Qt's display plug-ins Brenvo asks for. Under a Wayland desktop with an X
// server at hand (Xwayland), X11 is chosen: only there can the windows be centred,
// the exit screen kept on top and the frames keep only their close box.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <functional>

namespace platform {

struct DisplayEnvironment
{
    QByteArray display;        // $DISPLAY
    QByteArray waylandDisplay; // $WAYLAND_DISPLAY
    QByteArray qpaPlatform;    // $QT_QPA_PLATFORM
};

// "xcb" when an X server is reachable and the user has chosen no platform (neither
// QT_QPA_PLATFORM nor -platform on the command line); empty to leave it to Qt.
QByteArray chooseDisplayPlatform(const QByteArrayList &arguments, const DisplayEnvironment &environment,
                                 const std::function<bool(const QByteArray &display)> &xServerReachable);

// The socket of the local X server $DISPLAY names (":0", ":0.1", "unix:0"); empty when
// it names none.
QString localXSocket(const QByteArray &display);

// True when $DISPLAY names a local X server whose socket is there, or a remote one.
bool xServerReachable(const QByteArray &display);

// The environment of this process.
DisplayEnvironment currentDisplayEnvironment();

} // namespace platform
