// The maker's web pages: the catalogue of their addresses and the routines that open
// them.
#pragma once

#include "ui/links.h"

#include <QString>

namespace platform {
class UrlOpener;
}

namespace pages {

// Scheme and host of the maker's web site, without a trailing slash.
inline const QString kSiteBase = QStringLiteral("https://www.talvern.example");

// Site base + "/brenvo/ssd.php?page=" + key.
QString pageAddress(const QString &pageKey);

// Each opener hands its one fixed address to the browser. A refused request passes
// silently; a failing platform service raises platform::PlatformError to the caller.
void OpenHelpPage(platform::UrlOpener &browser);
void OpenHomePage(platform::UrlOpener &browser);
void OpenUpdatePage(platform::UrlOpener &browser);
void OpenDonatePage(platform::UrlOpener &browser);
void OpenFullBrandPage(platform::UrlOpener &browser);
void OpenCoBrandPage(platform::UrlOpener &browser);
void OpenSoftwaresPage(platform::UrlOpener &browser);

// The opener of the page a window's link leads to.
void open(platform::UrlOpener &browser, forms::Link link);

} // namespace pages
