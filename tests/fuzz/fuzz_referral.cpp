// Any five values: the referral address parses back to exactly those values, with one
// each of page and taf1 to taf6.
#include "exit/referral.h"

#include <QUrl>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const referral::Addresses kTo{QStringLiteral("https://www.talvern.example/brenvo/ssd.php?page=kesp-refer-a-friend"),
                              QStringLiteral("https://www.talvern.example/brenvo/")};

void check(bool ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "property broken: %s\n", what);
        abort();
    }
}
} // namespace

// Input: UTF-16 code units; the values are separated by code unit 0xFFFF.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList values{QString()};
    for (size_t i = 0; i + 1 < size && values.size() <= 5; i += 2) {
        const char16_t u = char16_t(data[i] | (data[i + 1] << 8));
        if (u == 0xFFFF)
            values.append(QString());
        else
            values.last().append(QChar(u));
    }
    while (values.size() < 5)
        values.append(QString());
    for (QString &v : values)
        v = referral::trimSpaces(v);
    const QString address =
        referral::buildReferralAddress(kTo, {values[0], values[1], values[2], values[3], values[4]});
    const QUrl url(address, QUrl::StrictMode);
    check(url.isValid(), "address is a valid URL");
    // Parsed the way a page script does: split on & and =, then percent-decode the bytes.
    const QByteArray query = address.toLatin1().mid(address.indexOf(u'?') + 1);
    check(address.toLatin1().size() == address.size(), "address is plain ASCII");
    const QList<QByteArray> items = query.split('&');
    check(items.size() == 7, "seven query items");
    const char *keys[] = {"page", "taf1", "taf2", "taf3", "taf4", "taf5", "taf6"};
    for (int k = 0; k < 7; ++k) {
        const QList<QByteArray> pair = items[k].split('=');
        check(pair.size() == 2 && pair[0] == keys[k], "keys in order, one = each");
        if (k >= 1 && k <= 5) {
            // Text that is not valid UTF-16 travels as UTF-8 does: with replacement characters.
            check(QByteArray::fromPercentEncoding(pair[1]) == values[k - 1].toUtf8(), "value parses back");
        }
    }
    return 0;
}
