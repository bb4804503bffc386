// Finding and driving a window's controls by name, as a user would reach them.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

namespace widgets {

template <typename T>
T *find(const QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// Types text key by key, as a keyboard would deliver it (any Unicode character).
inline void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Each returns false with the reason when the control cannot be used as asked.
inline bool click(QWidget *window, const char *name, QByteArray *why)
{
    auto *button = find<QAbstractButton>(window, name);
    if (!button) {
        *why = QByteArray("no button ") + name;
        return false;
    }
    if (!button->isVisibleTo(button->window()) || !button->isEnabled()) {
        *why = QByteArray(name) + " cannot be clicked (hidden or disabled)";
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

inline bool clickLabel(QWidget *window, const char *name, QByteArray *why)
{
    auto *label = find<QLabel>(window, name);
    if (!label) {
        *why = QByteArray("no label ") + name;
        return false;
    }
    QTest::mouseClick(label, Qt::LeftButton);
    return true;
}

inline bool trigger(QWidget *window, const char *name, QByteArray *why)
{
    auto *action = find<QAction>(window, name);
    if (!action) {
        *why = QByteArray("no menu entry ") + name;
        return false;
    }
    if (!action->isEnabled()) {
        *why = QByteArray(name) + " is unavailable";
        return false;
    }
    action->trigger();
    return true;
}

} // namespace widgets

#define BRENVO_DRIVE(fn, window, name)                                                                                 \
    do {                                                                                                               \
        QByteArray why_;                                                                                               \
        QVERIFY2(widgets::fn((window), (name), &why_), why_.constData());                                              \
    } while (false)
#define CLICK(window, name) BRENVO_DRIVE(click, window, name)
#define CLICK_LABEL(window, name) BRENVO_DRIVE(clickLabel, window, name)
#define TRIGGER(window, name) BRENVO_DRIVE(trigger, window, name)
