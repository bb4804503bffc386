#include "pages.h"

#include "platform/services.h"

namespace pages {

QString PageAddress(const QString &pageKey)
{
    return kSiteBase + QStringLiteral("/brenvo/ssd.php?page=") + pageKey;
}

void OpenHelpPage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("help-web-page")));
}
void OpenHomePage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("home-page")));
}
void OpenUpdatePage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("download-web-page")));
}
void OpenDonatePage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("donate")));
}
void OpenFullBrandPage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("fully-branded")));
}
void OpenCoBrandPage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("co-brand")));
}
void OpenSoftwaresPage(platform::UrlOpener &browser)
{
    browser.open(PageAddress(QStringLiteral("talvernsoftwares")));
}

void Open(platform::UrlOpener &browser, forms::Link link)
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
