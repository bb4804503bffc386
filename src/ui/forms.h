// What every window needs beyond its form: the program icon, the font faces the forms
// name, fixed sizes, centring, clickable labels and default and cancel keys.
#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <functional>

namespace forms {

// The face a form's font names, or where this machine lacks it the free face with the
// same metrics (Verdana: DejaVu Sans; MS Sans Serif: Liberation Sans). Asking once for
// a face the machine lacks costs two font searches; this asks the font list instead.
QString face(const QString &designed);

// The font a form gives as "Verdana 8.25 bold underline".
QFont designFont(const QString &written);

// The application's style and font (the forms' own, so that nothing is laid out in a
// font no window shows; message boxes keep the desktop's), the screen-reader role of windows
// that are plain widgets (the exit screen): a window, read with its title, rather
// than an anonymous filler, and Alt for the menus with a screen reader as without one.
// Shared by the program and its tests; called once.
void installLook();

QIcon programIcon();
QPixmap programPixmap();

// Finishes a window built from its form: a frame with only a close box, program icon, auto-sized labels, fixed client
// size (menu bar added for main windows), Enter and Esc for the buttons the form marks
// as default and cancel button, and centring on the screen at first show.
void prepareWindow(QWidget *window);

// Sizes a label to its text, as the layouts' auto-sized labels are, keeping it inside
// its container.
void fitLabel(QLabel *label);

// Brings a control in front of its siblings. A sibling it now covers exactly (same
// place and size) is hidden as well, so that a screen reader, which cannot see what
// lies behind, does not read it out; on screen nothing changes.
void bringToFront(QWidget *front);

// Runs fn on a left click released over the widget (labels have no click signal).
void onClick(QWidget *widget, std::function<void()> fn);

// The text a label shows for a caption that marks access keys with "&": one "&" for
// "&&", markers dropped.
QString withoutAccessMarkers(const QString &caption);

// The first characters of text, at most n UTF-16 units of them, ending where a whole
// character ends: never between the halves of a surrogate pair, nor before a combining
// mark that belongs to the character before it.
QString wholeCharacters(const QString &text, qsizetype n);

// Holds a one-line box to at most length UTF-16 units however text arrives (typed,
// pasted, dropped, or set by assistive software): what does not fit is cut from the text
// just inserted, at the end of a whole character, so the box keeps what it held and
// shows only whole characters.
void limitLength(QLineEdit *box, int length);

// Unselects every option button of a group; Qt's exclusive groups refuse that otherwise.
void clearOptions(std::initializer_list<QAbstractButton *> buttons);

// Runs fn without telling screen readers of the changes it makes. For a change inside
// focus-in handling: Qt tells them of the focus only afterwards, and a text change that
// reaches them first makes them take the focus without naming it. They read the
// control afresh when the focus news comes.
void unannounced(const std::function<void()> &fn);

} // namespace forms
