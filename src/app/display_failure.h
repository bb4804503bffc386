// Qt ends a program it cannot give a display with a core dump and advice to reinstall
// it. Brenvo says instead, in one line, that it needs a graphical desktop and which
// display it tried, and ends with status 1.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace displayFailure {

// The line for a start that could not open its display. platformName: the plug-in
// asked for (empty: Qt's own choice, X11 on Debian); one that is neither X11 nor
// Wayland is named itself.
QString message(const QByteArray &platformName, const QByteArray &display, const QByteArray &waylandDisplay);

// The plug-in given with -platform, else $QT_QPA_PLATFORM; empty when neither.
QByteArray requestedPlatform(const QByteArrayList &arguments, const QByteArray &qpaPlatform);

// The X display given with -display, else $DISPLAY.
QByteArray requestedDisplay(const QByteArrayList &arguments, const QByteArray &display);

// Held while the application object is made: Qt's messages wait until the display is
// open (and are then passed on as they came); if it cannot be opened, only the line
// is printed and the process ends with status 1.
class Guard
{
public:
    explicit Guard(QString line);
    ~Guard();
    Guard(const Guard &) = delete;
    Guard &operator=(const Guard &) = delete;

private:
    struct Held
    {
        QtMsgType type;
        QByteArray category, file, function;
        int line;
        QString text;
    };
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text);
    static inline Guard *s_active = nullptr;
    QString m_line;
    std::vector<Held> m_held;
    QtMessageHandler m_previous = nullptr;
};

} // namespace displayFailure
