// A multi-line text box that takes at most a set number of characters, however the text
// arrives: typed, pasted (keys, middle button, context menu) or dropped. What does not
// fit is left out before it reaches the box: laying out a long pasted line first and
// cutting it afterwards would freeze the window for minutes. Its one user, the exit
// screen's message box, is hidden today only because the layout puts it outside its
// frame; it still carries its text into every referral, so it stays bounded for a
// layout that shows it.
#pragma once

#include <QPlainTextEdit>

namespace forms {

class BoundedTextBox final : public QPlainTextEdit
{
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

    // Characters (UTF-16 units) the box may hold; text set by the program is not cut.
    void setMaxLength(int length) { m_maxLength = length; }
    int maxLength() const { return m_maxLength; }

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    // How many characters an insertion may still add, the selection it replaces counted.
    int room() const;
    // At most room() units of text, in whole characters.
    QString fitting(const QString &text) const;

    int m_maxLength = 32767;
};

} // namespace forms
