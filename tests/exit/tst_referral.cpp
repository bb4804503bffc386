// The refer-a-friend request: its eight checks in their order, and an address that carries any values,
// whatever they hold, back to the page unchanged.
#include "exit/referral.h"
#include "fakes.h"
#include "web/pages.h"

#include <QRandomGenerator>
#include <QUrlQuery>
#include <QtTest>

using namespace referral;

namespace {
const QString kPage = QStringLiteral("https://www.talvern.example/brenvo/ssd.php");
const Addresses kTo{pages::pageAddress(QStringLiteral("kesp-refer-a-friend")),
                    pages::kSiteBase + QStringLiteral("/brenvo/")};

void submit(const Form &form)
{
    platform::Services &s = fakes::program().services();
    SubmitReferral(form, kTo, *s.messageBox, *s.urlOpener, nullptr);
}

Form formOf(const QStringList &v)
{
    return {v[0], v[1], v[2], v[3], v[4]};
}

// Parses an address as the page would and returns every query item, in order.
QList<std::pair<QString, QString>> parse(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    QList<std::pair<QString, QString>> items;
    if (!url.isValid())
        return items;
    for (const auto &item : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        items.append({item.first, item.second});
    return items;
}

QString randomValue(QRandomGenerator &rng)
{
    static const QString specials = QStringLiteral("&=#?+%\r\n /:;@\"'<>\\[]{}|^`~\t");
    QString v;
    const int length = rng.bounded(0, 24);
    for (int i = 0; i < length; ++i) {
        switch (rng.bounded(4)) {
        case 0:
            v.append(specials.at(rng.bounded(int(specials.size()))));
            break;
        case 1:
            v.append(QChar(char16_t(rng.bounded(0x20, 0x7f))));
            break;
        case 2: {
            char32_t cp = rng.bounded(0xa0u, 0x2fffu);
            v.append(QString::fromUcs4(&cp, 1));
            break;
        }
        default: {
            char32_t cp = rng.bounded(0x1f300u, 0x1f64fu); // outside the 16-bit range
            v.append(QString::fromUcs4(&cp, 1));
            break;
        }
        }
    }
    if (rng.bounded(3) == 0)
        v = QStringLiteral("  ") + v + QStringLiteral(" ");
    return v;
}
} // namespace

class tst_referral : public QObject
{
    Q_OBJECT
    fakes::Installed f{};

private slots:
    void init() { f = fakes::resetProgram(); }
    void cleanup() { fakes::resetProgram(); }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("message");
        QTest::newRow("untouched form") << QStringList{"Your Name", "Your Email Address", "Your Message\r\n",
                                                       "Friend's Name", "Friend's Email Address"}
                                        << "Please Enter Proper Email Address";
        QTest::newRow("both addresses empty")
            << QStringList{"Ann", "", "Hi", "Bob", ""} << "Please Enter Distinct Email Addresses";
        QTest::newRow("same address after trimming")
            << QStringList{"Ann", " a@b.c ", "Hi", "Bob", "a@b.c"} << "Please Enter Distinct Email Addresses";
        QTest::newRow("distinct before the rest")
            << QStringList{"", "x", "", "", "x"} << "Please Enter Distinct Email Addresses";
        QTest::newRow("own lacks @") << QStringList{"Ann", "ab.c", "Hi", "Bob", "x@y.z"}
                                     << "Please Enter Proper Email Address";
        QTest::newRow("friend's lacks a dot")
            << QStringList{"Ann", "a@b.c", "Hi", "Bob", "x@y"} << "Please Enter Proper Email Address";
        QTest::newRow("case makes them distinct") << QStringList{"Ann", "A@b.c", "Hi", "Bob", "a@b.c"} << "";
        QTest::newRow("@. and .@ pass") << QStringList{"Ann", "@.", "Hi", "Bob", ".@"} << "";
        QTest::newRow("name placeholder")
            << QStringList{"Your Name", "a@b.c", "Hi", "Bob", "x@y.z"} << "Please Enter Your Name";
        QTest::newRow("name blanks") << QStringList{"  ", "a@b.c", "Hi", "Bob", "x@y.z"} << "Please Enter Your Name";
        QTest::newRow("the name first") << QStringList{"", "a@b.c", "", "", "x@y.z"} << "Please Enter Your Name";
        QTest::newRow("message") << QStringList{"Ann", "a@b.c", " Your Message ", "Bob", "x@y.z"}
                                 << "Please Enter Your Message";
        QTest::newRow("friend's name") << QStringList{"Ann", "a@b.c", "Hi", "Friend's Name", "x@y.z"}
                                       << "Please Enter Your Friend's Name";
        QTest::newRow("lower-case placeholder passes") << QStringList{"your name", "a@b.c", "Hi", "Bob", "x@y.z"} << "";
        QTest::newRow("message with its line break passes")
            << QStringList{"Ann", "a@b.c", "Your Message\r\n", "Bob", "x@y.z"} << "";
    }
    void refusals()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, message);
        f.boxes->answerOk(message.isEmpty() ? 0 : 1);
        submit(formOf(values));
        if (message.isEmpty()) {
            // Sent as the boxes hold them: name, address, message, friend's name and address.
            QVERIFY(f.boxes->shown.empty());
            QCOMPARE(f.browser->opened.size(), 1);
            const QUrlQuery query(QUrl(f.browser->opened[0]).query());
            for (int i = 0; i < 5; ++i)
                QCOMPARE(query.queryItemValue(QStringLiteral("taf%1").arg(i + 1), QUrl::FullyDecoded), values[i]);
        } else {
            QCOMPARE(int(f.boxes->shown.size()), 1);
            QCOMPARE(f.boxes->shown[0].text, message);
            QCOMPARE(f.boxes->shown[0].icon, platform::BoxIcon::Critical);
            QVERIFY(f.browser->opened.isEmpty());
        }
    }

    void addressLayout()
    {
        const QString address = buildReferralAddress(kTo, {QStringLiteral("Ann Lee"), QStringLiteral("a@b.c"),
                                                           QStringLiteral("Your Message\r\n"), QStringLiteral("Bob"),
                                                           QStringLiteral("x@y.z")});
        QCOMPARE(address, kPage
                              + QStringLiteral("?page=kesp-refer-a-friend&taf1=Ann%20Lee&taf2=a%40b.c"
                                               "&taf3=Your%20Message%0D%0A&taf4=Bob&taf5=x%40y.z"
                                               "&taf6=https%3A%2F%2Fwww.talvern.example%2Fbrenvo%2F"));
    }

    void valuesCannotAddParameters()
    {
        submit({QStringLiteral("Ann&taf5=someone@else.example"), QStringLiteral("a@b.c#x"), QStringLiteral("m?=&"),
                QStringLiteral("Bob"), QStringLiteral("x@y.z")});
        const auto items = parse(f.browser->opened.value(0));
        QCOMPARE(items.size(), 7);
        QCOMPARE(items[1].second, QStringLiteral("Ann&taf5=someone@else.example"));
        QCOMPARE(items[5].second, QStringLiteral("x@y.z"));
    }

    void anyValuesParseBack()
    {
        QRandomGenerator rng(20261207);
        for (int round = 0; round < 3000; ++round) {
            QStringList values;
            for (int i = 0; i < 5; ++i)
                values << randomValue(rng);
            QStringList trimmed;
            for (const QString &v : values)
                trimmed << trimSpaces(v);
            const QString address = buildReferralAddress(kTo, formOf(trimmed));
            QVERIFY2(address.startsWith(kPage + QStringLiteral("?page=kesp-refer-a-friend&taf1=")),
                     qPrintable(address));
            const auto items = parse(address);
            QCOMPARE(items.size(), 7);
            const QStringList keys{"page", "taf1", "taf2", "taf3", "taf4", "taf5", "taf6"};
            for (int i = 0; i < 7; ++i)
                QCOMPARE(items[i].first, keys[i]);
            QCOMPARE(items[0].second, QStringLiteral("kesp-refer-a-friend"));
            for (int i = 0; i < 5; ++i)
                QCOMPARE(items[i + 1].second, trimmed[i]);
            QCOMPARE(items[6].second, QStringLiteral("https://www.talvern.example/brenvo/"));
        }
    }

    void trimmingTakesBlanksOnly()
    {
        QCOMPARE(trimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
        QCOMPARE(trimSpaces(QStringLiteral("\r\n a\t ")), QStringLiteral("\r\n a\t"));
        QCOMPARE(trimSpaces(QStringLiteral("    ")), QString());
    }
};

QTEST_GUILESS_MAIN(tst_referral)
#include "tst_referral.moc"
