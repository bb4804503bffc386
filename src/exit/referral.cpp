#include "referral.h"

#include "platform/services.h"

#include <QUrl>

namespace referral {

QString TrimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString BuildReferralAddress(const Addresses &to, const QString &referrerName, const QString &referrerEmail,
                             const QString &message, const QString &friendName, const QString &friendEmail)
{
    const auto encoded = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return to.page + QStringLiteral("&taf1=") + encoded(referrerName) + QStringLiteral("&taf2=")
           + encoded(referrerEmail) + QStringLiteral("&taf3=") + encoded(message) + QStringLiteral("&taf4=")
           + encoded(friendName) + QStringLiteral("&taf5=") + encoded(friendEmail) + QStringLiteral("&taf6=")
           + encoded(to.siteFolder);
}

void SubmitReferral(State &s, const Addresses &to, platform::MessageBoxService &boxes, platform::UrlOpener &browser,
                    QWidget *owner)
{
    struct Check
    {
        const QString &value;
        const char16_t *placeholder;
        const char16_t *message;
    };
    const Check checks[] = {
        {s.ReferrerName, u"Your Name", u"Please Enter Your Name"},
        {s.ReferrerEmail, u"Your Email Address", u"Please Enter Your Email"},
        {s.ReferralMessage, u"Your Message", u"Please Enter Your Message"},
        {s.FriendName, u"Friend's Name", u"Please Enter Your Friend's Name"},
        {s.FriendEmail, u"Friend's Email Address", u"Please Enter Your Friend's Email"},
    };
    for (const Check &check : checks) {
        const QString value = TrimSpaces(check.value);
        if (value.isEmpty() || value == QString::fromUtf16(check.placeholder)) {
            platform::messageBox(boxes, owner, QString::fromUtf16(check.message), platform::BoxIcon::Critical);
            return;
        }
    }
    s.ReferralAddress =
        BuildReferralAddress(to, s.ReferrerName, s.ReferrerEmail, s.ReferralMessage, s.FriendName, s.FriendEmail);
    browser.open(s.ReferralAddress);
}

} // namespace referral
