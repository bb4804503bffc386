#include "TextBoxAccessible.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <utility>

namespace forms {

namespace {
// The unit of that kind around offset in text, as [start, end). The offset just past
// the end counts as the last unit's (a caret there is after the last word typed), and
// a box has one line.
std::pair<int, int> unitAround(const QString &text, int offset, QAccessible::TextBoundaryType type)
{
    const int n = int(text.size());
    QTextBoundaryFinder::BoundaryType finderType = QTextBoundaryFinder::Grapheme;
    switch (type) {
    case QAccessible::CharBoundary:
        if (offset >= n)
            return {n, n};
        break;
    case QAccessible::WordBoundary:
        finderType = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        finderType = QTextBoundaryFinder::Sentence;
        break;
    default: // a line, a paragraph, the whole text
        return {0, n};
    }
    if (n == 0)
        return {0, 0};
    const int at = qMin(offset, n - 1);
    QTextBoundaryFinder finder(finderType, text);
    finder.setPosition(at);
    int start = finder.isAtBoundary() ? at : int(finder.toPreviousBoundary());
    finder.setPosition(at);
    int end = int(finder.toNextBoundary());
    return {qMax(start, 0), end < 0 ? n : end};
}
} // namespace

TextBoxAccessible::TextBoxAccessible(QLineEdit *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

QLineEdit *TextBoxAccessible::box() const
{
    return static_cast<QLineEdit *>(object());
}

void *TextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TextBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->text();
    return QAccessibleWidget::text(t);
}

void TextBoxAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        replaceText(0, characterCount(), text);
    else
        QAccessibleWidget::setText(t, text);
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TextBoxAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    // Inserted as a paste is: through the box's length and its validator.
    QLineEdit *b = box();
    if (b->isReadOnly() || !b->isEnabled())
        return;
    const int n = characterCount();
    const int start = qBound(0, startOffset, n);
    const int end = qBound(start, endOffset, n);
    b->setSelection(start, end - start);
    if (text.isEmpty() && end > start)
        b->del();
    else
        b->insert(text);
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
    // Cut to the text first: the length of a range from far past the end to before
    // the start would not fit an int.
    const int n = characterCount();
    const int start = qBound(0, startOffset, n);
    if (selectionIndex == 0)
        box()->setSelection(start, qBound(0, endOffset, n) - start);
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
    // An offset off the text first, and at once: screen readers ask for whole ranges
    // character by character, and a range may reach far past the end.
    QLineEdit *b = box();
    const QString t = b->text();
    if (offset < 0 || offset >= t.size())
        return {};
    // Where the text starts inside the frame, as QLineEdit lays it out (it keeps a
    // margin of two pixels); a text wider than the box is not scrolled into account.
    QStyleOptionFrame option;
    option.initFrom(b);
    const QRect inner = b->style()->subElementRect(QStyle::SE_LineEditContents, &option, b);
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

namespace forms {

QString TextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                        int *endOffset) const
{
    const QString t = box()->text();
    if (offset < 0 || offset > t.size()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const auto [start, end] = unitAround(t, offset, boundaryType);
    *startOffset = start;
    *endOffset = end;
    return t.mid(start, end - start);
}

QString TextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                            int *endOffset) const
{
    // The unit that ends where the one at offset starts.
    int start = -1;
    int end = -1;
    textAtOffset(offset, boundaryType, &start, &end);
    if (start <= 0) {
        *startOffset = *endOffset = start; // 0 at the first unit, -1 off the text
        return {};
    }
    return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString TextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                           int *endOffset) const
{
    // The unit that starts where the one at offset ends.
    int start = -1;
    int end = -1;
    textAtOffset(offset, boundaryType, &start, &end);
    if (start < 0 || end >= characterCount()) {
        *startOffset = *endOffset = start < 0 ? -1 : characterCount();
        return {};
    }
    return textAtOffset(end, boundaryType, startOffset, endOffset);
}

} // namespace forms
