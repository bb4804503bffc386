// The maker's web pages and the routines that open them, the update prompt, and the
// program end.
#pragma once

#include <QDate>
#include <QString>

namespace pages {

// Scheme and host of the maker's web site, without a trailing slash.
inline const QString kSiteBase = QStringLiteral("https://www.talvern.example");

// Site base + "/brenvo/ssd.php?page=" + key.
QString PageAddress(const QString &pageKey);

// Each opener hands its one fixed address to the browser. A refused request passes
// silently; a failing platform service raises platform::PlatformError to the caller.
void OpenHelpPage();
void OpenHomePage();
void OpenUpdatePage();
void OpenDonatePage();
void OpenFullBrandPage();
void OpenCoBrandPage();
void OpenSoftwaresPage();

// Offers the update page when the prompt last ran more than fourteen days away from
// today. Errors (unreadable store, failing browser call) reach the caller.
void OfferUpdateCheck();

// Reads a stored "Duration" value; an invalid QDate when it is not a date.
QDate ParseStoredDate(const QString &text);
QString FormatStoredDate(const QDate &date);

// Closes every window that exists, in creation order, then ends the process.
void EndProgram();
// True from the start of the program end on: no window is created any more.
bool IsEnding();
void ResetEndProgram();

} // namespace pages
