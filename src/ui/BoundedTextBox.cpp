#include "BoundedTextBox.h"
#include "forms.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace forms {

int BoundedTextBox::room() const
{
    const QTextCursor cursor = textCursor();
    const int held = document()->characterCount() - 1; // the document's last paragraph mark
    return qMax(0, m_maxLength - (held - (cursor.selectionEnd() - cursor.selectionStart())));
}

QString BoundedTextBox::fitting(const QString &text) const
{
    return wholeCharacters(text, room());
}

void BoundedTextBox::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    QMimeData fitted;
    fitted.setText(fitting(source->text()));
    QPlainTextEdit::insertFromMimeData(&fitted);
}

void BoundedTextBox::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && (typed.at(0).isPrint() || typed == QStringLiteral("\r"));
    if (inserts && fitting(typed).size() < typed.size()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void BoundedTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty()) {
        const QString committed = fitting(event->commitString());
        if (committed.size() < event->commitString().size()) {
            QInputMethodEvent cut(event->preeditString(), event->attributes());
            cut.setCommitString(committed, event->replacementStart(), event->replacementLength());
            QPlainTextEdit::inputMethodEvent(&cut);
            return;
        }
    }
    QPlainTextEdit::inputMethodEvent(event);
}

} // namespace forms
