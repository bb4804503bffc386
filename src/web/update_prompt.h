// The update prompt: at start-up, offers the update page when the prompt last ran more
// than fourteen days away from today, and keeps that date in the settings store.
#pragma once

#include <QDate>
#include <QString>

namespace platform {
struct Services;
}

namespace updatePrompt {

// Errors (unreadable store, failing browser call) reach the caller; a Yes opens the
// update page even when the date cannot be stored.
void OfferUpdateCheck(platform::Services &services);

// Reads a stored "Duration" value; an invalid QDate when it is not a date.
QDate parseStoredDate(const QString &text);
QString formatStoredDate(const QDate &date);

} // namespace updatePrompt
