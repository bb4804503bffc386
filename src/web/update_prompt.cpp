#include "update_prompt.h"

#include "platform/services.h"
#include "web/pages.h"

#include <exception>

namespace updatePrompt {
namespace {

const QString kSettingsSection = QStringLiteral("Settings");
const QString kDurationKey = QStringLiteral("Duration");

// The two sentences are parted by a lone carriage return, which the box shows as a
// line break.
const QString kUpdateQuestion =
    QStringLiteral("There maybe an update to this software available\rDo you want to check for an update?");

constexpr int kDaysBetweenPrompts = 14;

} // namespace

QDate parseStoredDate(const QString &text)
{
    // ISO dates read the same whatever the user's locale becomes.
    if (text.size() != 10)
        return {};
    return QDate::fromString(text, Qt::ISODate);
}

QString formatStoredDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

void OfferUpdateCheck(platform::Services &s)
{
    const QDate today = s.clock->today();
    const QString stored = s.settings->read(kSettingsSection, kDurationKey);
    if (stored.isEmpty()) {
        s.settings->write(kSettingsSection, kDurationKey, formatStoredDate(today));
        return;
    }
    const QDate last = parseStoredDate(stored);
    if (!last.isValid())
        return; // not a date: no prompt and nothing written, on every start
    const qint64 days = today.daysTo(last);
    if (days >= -kDaysBetweenPrompts && days <= kDaysBetweenPrompts)
        return;
    const platform::BoxAnswer answer = platform::messageBox(
        *s.messageBox, nullptr, kUpdateQuestion, platform::BoxIcon::Information, platform::BoxButtons::YesNo);
    // The user's Yes opens the page even when the date cannot be stored; the failure
    // still reaches the caller afterwards.
    std::exception_ptr notStored;
    try {
        s.settings->write(kSettingsSection, kDurationKey, formatStoredDate(today));
    } catch (...) {
        notStored = std::current_exception();
    }
    if (answer == platform::BoxAnswer::Yes)
        pages::OpenUpdatePage(*s.urlOpener);
    if (notStored)
        std::rethrow_exception(notStored);
}

} // namespace updatePrompt
