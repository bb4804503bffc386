#include "nameKeys.h"

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

} // namespace nameKeys
