#include "referral.h"

#include "platform/services.h"

#include <QUrl>
#include <array>

namespace referral {
namespace {

struct Rule
{
    QString Form::*value;
    Field field;
    const char16_t *placeholder;
    const char16_t *missing;
};

// In the order the form is checked, each with its placeholder and its refusal.
const std::array<Rule, 5> kRules = {{
    {&Form::referrerName, Field::ReferrerName, u"Your Name", u"Please Enter Your Name"},
    {&Form::referrerEmail, Field::ReferrerEmail, u"Your Email Address", u"Please Enter Your Email"},
    {&Form::message, Field::Message, u"Your Message", u"Please Enter Your Message"},
    {&Form::friendName, Field::FriendName, u"Friend's Name", u"Please Enter Your Friend's Name"},
    {&Form::friendEmail, Field::FriendEmail, u"Friend's Email Address", u"Please Enter Your Friend's Email"},
}};

Form trimmed(Form form)
{
    for (const Rule &rule : kRules)
        form.*rule.value = trimSpaces(form.*rule.value);
    return form;
}

} // namespace

QString placeholder(Field field)
{
    for (const Rule &rule : kRules)
        if (rule.field == field)
            return QString::fromUtf16(rule.placeholder);
    return {};
}

int maxLength(Field field)
{
    switch (field) {
    case Field::ReferrerEmail:
    case Field::FriendEmail:
        return 254;
    case Field::Message:
        return 4000;
    case Field::ReferrerName:
    case Field::FriendName:
        break;
    }
    return 100;
}

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString refusal(const Form &typed)
{
    const Form form = trimmed(typed);
    if (form.referrerEmail == form.friendEmail)
        return QStringLiteral("Please Enter Distinct Email Addresses");
    for (const QChar mark : {u'@', u'.'})
        if (!form.referrerEmail.contains(mark) || !form.friendEmail.contains(mark))
            return QStringLiteral("Please Enter Proper Email Address");
    for (const Rule &rule : kRules) {
        const QString &value = form.*rule.value;
        if (value.isEmpty() || value == QString::fromUtf16(rule.placeholder))
            return QString::fromUtf16(rule.missing);
    }
    return {};
}

QString buildReferralAddress(const Addresses &to, const Form &form)
{
    const auto encoded = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return to.page + QStringLiteral("&taf1=") + encoded(form.referrerName) + QStringLiteral("&taf2=")
           + encoded(form.referrerEmail) + QStringLiteral("&taf3=") + encoded(form.message) + QStringLiteral("&taf4=")
           + encoded(form.friendName) + QStringLiteral("&taf5=") + encoded(form.friendEmail) + QStringLiteral("&taf6=")
           + encoded(to.siteFolder);
}

void SubmitReferral(Form form, const Addresses &to, platform::MessageBoxService &boxes, platform::UrlOpener &browser,
                    QWidget *owner)
{
    if (const QString refused = refusal(form); !refused.isEmpty()) {
        platform::messageBox(boxes, owner, refused, platform::BoxIcon::Critical);
        return;
    }
    browser.open(buildReferralAddress(to, trimmed(std::move(form))));
}

} // namespace referral
