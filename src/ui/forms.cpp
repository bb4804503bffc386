#include "forms.h"
#include "FormStyle.h"
#include "PanelAccessible.h"
#include "TextBoxAccessible.h"
#ifndef Q_OS_WIN
#include "platform/accessibility_requests.h"
#endif

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QResource>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <QWindow>

#include <algorithm>

namespace forms {
namespace {

class ClickFilter final : public QObject
{
public:
    ClickFilter(QWidget *widget, std::function<void()> fn) : QObject(widget), m_fn(std::move(fn))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            auto *widget = static_cast<QWidget *>(watched);
            if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
                m_fn();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_fn;
};

// Enter presses the form's default button and Esc its cancel button, whenever the
// focused control leaves the key alone. The press goes to the button's handler even
// while its panel is out of reach behind another, as the form's keys always did.
class KeyFilter final : public QObject
{
public:
    KeyFilter(QWidget *window, QAbstractButton *enter, QAbstractButton *esc)
        : QObject(window), m_enter(enter), m_esc(esc)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        QAbstractButton *button = nullptr;
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            button = m_enter;
        else if (key == Qt::Key_Escape)
            button = m_esc;
        if (!button)
            return false;
        emit button->clicked(false);
        return true;
    }

private:
    QPointer<QAbstractButton> m_enter;
    QPointer<QAbstractButton> m_esc;
};

// The buttons the form marks as its default and its cancel button get their keys.
void wireDefaultAndCancelKeys(QWidget *window)
{
    QAbstractButton *enter = nullptr;
    QAbstractButton *esc = nullptr;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->property("defaultButton").toBool())
            enter = button;
        if (button->property("cancelButton").toBool())
            esc = button;
    }
    if (enter || esc)
        new KeyFilter(window, enter, esc);
}

class CentreOnFirstShow final : public QObject
{
public:
    explicit CentreOnFirstShow(QWidget *window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            m_window->removeEventFilter(this);
            place(m_window->frameGeometry());
            // The window manager's frame is known only once it has framed the window:
            // at the first exposure the title bar it added is taken into account.
            if (QWindow *handle = m_window->windowHandle())
                handle->installEventFilter(this);
            else
                deleteLater();
        } else if (event->type() == QEvent::Expose && m_window->windowHandle() == watched
                   && m_window->windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            const QRect frame = m_window->frameGeometry();
            if (frame != m_window->geometry())
                place(frame, false);
            deleteLater();
        }
        return false;
    }

private:
    // Centred on the screen (when centre), and then with its top left, the title bar
    // with its close box, on the screen, however large the window.
    void place(QRect frame, bool centre = true)
    {
        QScreen *screen = m_window->screen();
        if (!screen)
            return;
        const QRect available = screen->availableGeometry();
        if (centre)
            frame.moveCenter(available.center());
        const QPoint topLeft(qMax(frame.left(), available.left()), qMax(frame.top(), available.top()));
        if (centre || topLeft != frame.topLeft())
            m_window->move(topLeft);
    }

    QWidget *m_window;
};

} // namespace

void fitLabel(QLabel *label)
{
    label->resize(label->sizeHint());
    // The free fonts run a little wider than the ones the layout was drawn with: a
    // label that would leave its container gets a slightly smaller size instead.
    const QWidget *container = label->parentWidget();
    if (!container)
        return;
    QFont font = label->font();
    const qreal designed = font.pointSizeF();
    while (label->geometry().right() >= container->width() && font.pointSizeF() > designed * 0.85) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        label->setFont(font);
        label->resize(label->sizeHint());
    }
}

QString face(const QString &designed)
{
    static QHash<QString, QString> chosen;
    auto it = chosen.constFind(designed);
    if (it != chosen.cend())
        return *it;
    QString use = designed;
    // Asks the font list for that one family: hasFamily() would also resolve aliases
    // through fontconfig, and families() would fill in every family's styles.
    // A face that is missing, or there only as a bitmap font (Windows' own "MS Sans
    // Serif", which would come out in a serif face when scaled), is replaced.
    if (QFontDatabase::styles(designed).isEmpty() || !QFontDatabase::isSmoothlyScalable(designed)) {
        const QStringList standIns =
            designed == QLatin1String("Verdana") ? QStringList{QStringLiteral("DejaVu Sans")}
            : designed == QLatin1String("MS Sans Serif")
                ? QStringList{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")}
                : QStringList{};
        for (const QString &standIn : standIns) {
            use = standIn;
            if (QFontDatabase::isSmoothlyScalable(standIn))
                break;
        }
    }
    chosen.insert(designed, use);
    return use;
}

QFont designFont(const QString &written)
{
    // "<face> <points>[ bold][ underline]", the face possibly of several words.
    QStringList words = written.split(u' ', Qt::SkipEmptyParts);
    const bool underline = !words.isEmpty() && words.last() == QLatin1String("underline");
    if (underline)
        words.removeLast();
    const bool bold = !words.isEmpty() && words.last() == QLatin1String("bold");
    if (bold)
        words.removeLast();
    bool sized = false;
    const double points = words.isEmpty() ? 0 : words.takeLast().toDouble(&sized);
    if (!sized || words.isEmpty())
        return QApplication::font();
    QFont font(face(words.join(u' ')));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

namespace {
// A window of the forms' is a window to a screen reader; a plain frame inside one is a
// panel (Qt would call it a frame, which screen readers take for a window of its own);
// both, and a main window's central area, read their controls in the order they are
// seen. A text box reads out its whole text.
QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
#ifndef Q_OS_WIN
    // Interfaces are made as assistive software asks for them: Qt's bridge is there.
    platform::answerUnboundedAccessibilityRequests();
#endif
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->isWindow() && className == QLatin1String("QWidget"))
        return new PanelAccessible(widget, QAccessible::Window);
    // Asked with the window's own class first: Qt 6.8's own factory answers for QDialog.
    if (qobject_cast<QDialog *>(widget) && widget->property("designFont").isValid())
        return new PanelAccessible(widget, QAccessible::Dialog);
    if (!widget->isWindow() && className == QLatin1String("QFrame"))
        return new PanelAccessible(widget, QAccessible::Grouping);
    if (className == QLatin1String("QWidget") && qobject_cast<QMainWindow *>(widget->parentWidget()))
        return new PanelAccessible(widget, QAccessible::Client);
    if (className == QLatin1String("QLineEdit"))
        return new TextBoxAccessible(static_cast<QLineEdit *>(widget));
    // The exit screen's message box lies hidden outside its frame: a box to a screen
    // reader, but with no text to ask about (Qt 6.8's own search in it never ended).
    if (className == QLatin1String("forms::BoundedTextBox"))
        return new QAccessibleWidget(widget, QAccessible::EditableText);
    return nullptr;
}
} // namespace

namespace {
// With a screen reader listening, Qt hands every key to the accessibility bus and gives
// the window a copy when the bus answers. A lone Alt has done its work by then: the
// menu bar watches the key itself as it comes. Its copy would switch the menu bar's
// keyboard mode once more, so that Alt alone never reached the menus and Alt with a
// letter could leave the File menu selected.
class LateAltCopies final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) || event->spontaneous()
            || !watched->isWindowType())
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Alt || key == Qt::Key_Meta;
    }
};
} // namespace

void installLook()
{
    QApplication::setStyle(new FormStyle);
    // Message boxes keep the desktop's font; everything else starts in the forms'.
    QApplication::setFont(QApplication::font(), "QMessageBox");
    QApplication::setFont(designFont(QStringLiteral("Verdana 8.25")));
    QAccessible::installFactory(windowAccessible);
    qApp->installEventFilter(new LateAltCopies(qApp));
}

QPixmap programPixmap()
{
    // The 32-pixel icon as raw RGB rows (tools/rawicon.py makes them from the PNG):
    // reading an image file would load every image plug-in, and decoding a PNG costs
    // more than the rest of the icon. The desktop takes the larger sizes from the
    // installed icon theme.
    constexpr int kSide = 32;
    const QByteArray rgb = QResource(QStringLiteral(":/icons/brenvo-32.rgb")).uncompressedData();
    if (rgb.size() != kSide * kSide * 3)
        return {};
    const QImage image(reinterpret_cast<const uchar *>(rgb.constData()), kSide, kSide, kSide * 3,
                       QImage::Format_RGB888);
    return QPixmap::fromImage(image); // copies the pixels
}

QIcon programIcon()
{
    static const QIcon icon(programPixmap());
    return icon;
}

namespace {
// Hides every control that a sibling in front of it covers exactly, as the layouts
// stack them when the window is built, and every one that lies wholly outside its
// container: nobody sees it, so it is no tab stop and no control a screen reader
// reports as on screen.
void hideCovered(QWidget *container)
{
    // A main window's bar and central area are placed by its layout, not the table.
    const bool placed = !qobject_cast<QMainWindow *>(container);
    QList<QWidget *> inFront;
    const QObjectList &children = container->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto *w = qobject_cast<QWidget *>(*it);
        if (!w || w->isWindow())
            continue;
        const bool covered = std::any_of(inFront.cbegin(), inFront.cend(), [w](const QWidget *f) {
            return f->geometry() == w->geometry() && !f->isHidden();
        });
        // (A frame's size is the table's; a window's is set later, by its layout.)
        const bool outside = !container->isWindow() && !qobject_cast<QMainWindow *>(container->parentWidget())
                             && !QRect(QPoint(), container->size()).intersects(w->geometry());
        if ((covered || outside) && placed)
            w->hide();
        inFront.append(w);
        hideCovered(w);
    }
}
} // namespace

void bringToFront(QWidget *front)
{
    // Over whatever it overlaps, and nowhere else in its container's stack, so that the
    // controls are still made, drawn and read in the same order.
    if (QWidget *container = front->parentWidget()) {
        const QObjectList children = container->children();
        for (QObject *child : children) {
            auto *w = qobject_cast<QWidget *>(child);
            if (!w || w == front || w->isWindow() || !w->geometry().intersects(front->geometry()))
                continue;
            if (container->children().indexOf(w) > container->children().indexOf(front))
                w->stackUnder(front);
            if (w->geometry() == front->geometry())
                w->hide();
        }
    }
    front->show();
}

namespace {
// Every control gets the font its form names, or else the window's (as the forms
// were drawn: a control with no font of its own has the window's, whatever its
// container's). Menus are windows of their own and get the window's font too.
void applyDesignFonts(QWidget *window)
{
    // Setting a font a widget has already would still make it lay itself out again.
    const auto use = [](QWidget *w, const QFont &font) {
        if (w->font() != font)
            w->setFont(font);
    };
    const QFont windowFont = designFont(window->property("designFont").toString());
    use(window, windowFont);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QVariant own = w->property("designFont");
        if (own.isValid())
            use(w, designFont(own.toString()));
        else if (w->isWindow() || (w->parentWidget() && w->parentWidget()->property("designFont").isValid()))
            use(w, windowFont);
    }
}
} // namespace

// A control's colours are the ones its form gives it and otherwise the desktop's,
// never its container's: an opaque label with no colour of its own is the desktop's
// grey, not the blue of the frame it sits in; a frame's border is the desktop's text
// colour; menu bars and menus look as everywhere else.
void applyOwnColours(QWidget *window)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QPalette own = w->palette();
        const QPalette desktop = QApplication::palette(w);
        // Every role set explicitly: a role left unset would be taken from the container.
        QPalette p;
        for (int g = 0; g < QPalette::NColorGroups; ++g) {
            const auto group = QPalette::ColorGroup(g);
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto role = QPalette::ColorRole(r);
                p.setBrush(group, role,
                           own.isBrushSet(group, role) ? own.brush(group, role) : desktop.brush(group, role));
            }
        }
        if (w->palette() != p || w->palette().resolveMask() != p.resolveMask())
            w->setPalette(p);
    }
}

void prepareWindow(QWidget *window)
{
    // A fixed frame with a title and a close box only: no minimise, no maximise.
    const Qt::WindowFlags kind = qobject_cast<QDialog *>(window) ? Qt::Dialog : Qt::Window;
    window->setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    applyDesignFonts(window);
    applyOwnColours(window);
    hideCovered(window);
    window->setWindowIcon(programIcon());
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().contains(u'&'))
            label->setText(withoutAccessMarkers(label->text()));
        if (label->property("autoSize").toBool())
            fitLabel(label);
    }
    QSize size = window->size();
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        if (main->menuBar()) {
            size.rheight() += main->menuBar()->sizeHint().height();
            // Read first, as it is seen first.
            if (main->centralWidget())
                main->menuBar()->stackUnder(main->centralWidget());
        }
    }
    window->setFixedSize(size);
    wireDefaultAndCancelKeys(window);
    new CentreOnFirstShow(window);
    // Qt 6.8 may make a dialog's interface while QDialog is being built, before its form
    // marks it as one of the forms': made again, it reads its controls in the order they
    // are seen. (Dialogs come only when asked for, never at start-up.)
    if (qobject_cast<QDialog *>(window)) {
        QAccessibleInterface *made = QAccessible::queryAccessibleInterface(window);
        if (made && !dynamic_cast<PanelAccessible *>(made))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

QString wholeCharacters(const QString &text, qsizetype n)
{
    if (n >= text.size())
        return text;
    if (n <= 0)
        return {};
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    characters.setPosition(n);
    if (!characters.isAtBoundary())
        n = qMax<qsizetype>(0, characters.toPreviousBoundary());
    return text.left(n);
}

namespace {
class WholeCharacterLimit final : public QValidator
{
public:
    WholeCharacterLimit(int limit, QObject *parent) : QValidator(parent), m_limit(limit) {}

    State validate(QString &input, int &pos) const override
    {
        const qsizetype excess = input.size() - m_limit;
        if (excess <= 0)
            return Acceptable;
        // What was inserted last ends at the cursor: keep what fits of it, in whole
        // characters, and the text after it.
        const qsizetype end = qBound(qsizetype(0), qsizetype(pos), input.size());
        const QString kept = wholeCharacters(input.left(end), qMax<qsizetype>(0, end - excess));
        const QString rest = wholeCharacters(input.mid(end), m_limit - kept.size());
        input = kept + rest;
        pos = int(kept.size());
        return Acceptable;
    }

private:
    int m_limit;
};
} // namespace

void limitLength(QLineEdit *box, int length)
{
    // Qt's own limit would cut a paste between the halves of a pair: far above this one,
    // it only keeps a pasted file short.
    box->setMaxLength(32767);
    box->setValidator(new WholeCharacterLimit(length, box));
}

void onClick(QWidget *widget, std::function<void()> fn)
{
    new ClickFilter(widget, std::move(fn));
}

QString withoutAccessMarkers(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&') {
                shown.append(u'&');
                ++i;
            }
            continue;
        }
        shown.append(caption.at(i));
    }
    return shown;
}

void clearOptions(std::initializer_list<QAbstractButton *> buttons)
{
    for (QAbstractButton *b : buttons) {
        const bool exclusive = b->autoExclusive();
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(exclusive);
    }
}

void unannounced(const std::function<void()> &fn)
{
    struct Restore
    {
        QAccessible::UpdateHandler previous;
        ~Restore() { QAccessible::installUpdateHandler(previous); }
    } restore{QAccessible::installUpdateHandler([](QAccessibleEvent *) {})};
    fn();
}

} // namespace forms
