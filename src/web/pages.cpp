#include "pages.h"

#include "platform/services.h"

namespace pages {

QString pageAddress(const QString &pageKey)
{
    return kSiteBase + QStringLiteral("/brenvo/ssd.php?page=") + pageKey;
}

void OpenHelpPage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("help-web-page")));
}
void OpenHomePage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("home-page")));
}
void OpenUpdatePage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("download-web-page")));
}
void OpenDonatePage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("donate")));
}
void OpenFullBrandPage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("fully-branded")));
}
void OpenCoBrandPage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("co-brand")));
}
void OpenSoftwaresPage(platform::UrlOpener &browser)
{
    browser.open(pageAddress(QStringLiteral("talvernsoftwares")));
}

void open(platform::UrlOpener &browser, forms::Link link)
{
    switch (link) {
    case forms::Link::Help:
        return OpenHelpPage(browser);
    case forms::Link::Home:
        return OpenHomePage(browser);
    case forms::Link::Update:
        return OpenUpdatePage(browser);
    case forms::Link::Donate:
        return OpenDonatePage(browser);
    case forms::Link::FullBrand:
        return OpenFullBrandPage(browser);
    case forms::Link::CoBrand:
        return OpenCoBrandPage(browser);
    case forms::Link::Softwares:
        return OpenSoftwaresPage(browser);
    }
}

} // namespace pages
