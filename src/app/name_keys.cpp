#include "name_keys.h"

namespace nameKeys {

Outcome filter(const QString &typed)
{
    Outcome out;
    out.text.reserve(typed.size());
    for (const QChar c : typed) {
        const char16_t code = c.unicode();
        if (code >= u'A' && code <= u'Z')
            out.text.append(c);
        else if (code >= u'a' && code <= u'z')
            out.text.append(QChar(static_cast<char16_t>(code - 32)));
        else if (code == 8 || code == 13 || code == 32)
            out.text.append(c);
        else
            return Outcome{QString(), true};
    }
    return out;
}

QValidator::State NameValidator::validate(QString &input, int &pos) const
{
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const char16_t code = input.at(i).unicode();
        QChar c;
        if ((code >= u'A' && code <= u'Z') || code == u' ')
            c = QChar(code);
        else if (code >= u'a' && code <= u'z')
            c = QChar(static_cast<char16_t>(code - 32));
        else
            continue;
        kept.append(c);
        if (i < pos)
            ++keptBeforeCursor;
    }
    input = kept;
    pos = keptBeforeCursor;
    return Acceptable;
}

} // namespace nameKeys
