#include "TextBoxAccessible.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace forms {

TextBoxAccessible::TextBoxAccessible(QLineEdit *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

QLineEdit *TextBoxAccessible::box() const
{
    return static_cast<QLineEdit *>(object());
}

void *TextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TextBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->text();
    return QAccessibleWidget::text(t);
}

QAccessible::State TextBoxAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !box()->isReadOnly();
    s.readOnly = box()->isReadOnly();
    s.selectableText = true;
    return s;
}

void TextBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && box()->hasSelectedText()) {
        *startOffset = box()->selectionStart();
        *endOffset = *startOffset + box()->selectionLength();
    }
}

int TextBoxAccessible::selectionCount() const
{
    return box()->hasSelectedText() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->deselect();
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setSelection(startOffset, endOffset - startOffset);
}

int TextBoxAccessible::cursorPosition() const
{
    return box()->cursorPosition();
}

void TextBoxAccessible::setCursorPosition(int position)
{
    box()->setCursorPosition(position);
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset < 0 || endOffset < startOffset)
        return {};
    return box()->text().mid(startOffset, endOffset - startOffset);
}

int TextBoxAccessible::characterCount() const
{
    return int(box()->text().size());
}

QRect TextBoxAccessible::characterRect(int offset) const
{
    // Where the text starts inside the frame, as QLineEdit lays it out (it keeps a
    // margin of two pixels); a text wider than the box is not scrolled into account.
    QLineEdit *b = box();
    QStyleOptionFrame option;
    option.initFrom(b);
    const QRect inner = b->style()->subElementRect(QStyle::SE_LineEditContents, &option, b);
    const QString t = b->text();
    if (offset < 0 || offset >= t.size())
        return {};
    const QFontMetrics metrics = b->fontMetrics();
    const int x = inner.x() + 2 + metrics.horizontalAdvance(t.left(offset));
    const QRect local(x, inner.y() + (inner.height() - metrics.height()) / 2,
                      metrics.horizontalAdvance(t.mid(offset, 1)), metrics.height());
    return QRect(b->mapToGlobal(local.topLeft()), local.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
}

void TextBoxAccessible::scrollToSubstring(int, int endIndex)
{
    box()->setCursorPosition(endIndex);
}

QString TextBoxAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    // The box has no attributes, over its whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace forms
