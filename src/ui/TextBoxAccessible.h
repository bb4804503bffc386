// What a screen reader reads from a single-line text box. Qt 6.4's own reports the
// attribute run at each offset as empty, and Orca, which joins the runs to speak the
// text, then drops its last character ("AN" for "ANN"). This one reports one run over
// the whole text and otherwise answers as Qt's does. It also finds the character, word
// or line around an offset itself: Qt 6.8's own search never ends when asked for the
// word at the end of the text, and a screen reader asks that after every typed word.
// Assistive software that types (dictation, voice control) sets or edits the text
// through it as through the keyboard's paste: the box's own rules apply (capitals in
// the name box, each box's length).
#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace forms {

class TextBoxAccessible final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface
{
public:
    explicit TextBoxAccessible(QLineEdit *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;

private:
    QLineEdit *box() const;
};

} // namespace forms
