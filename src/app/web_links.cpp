#include "web_links.h"

#include <QUrlQuery>

namespace korbisto::app {

namespace {
// The maker's own values; replace them here when the site moves.
constexpr const char* kHost = "https://www.korbisto.de";
constexpr const char* kDonationButtonId = "KORBISTO13WACH";
}  // namespace

QString makerHost() { return QString::fromLatin1(kHost); }

QUrl makerSiteUrl() { return QUrl(makerHost() + QStringLiteral("/wimbrel/")); }

QUrl donationUrl() {
    QUrl url(QStringLiteral("https://www.paypal.com/donate/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("hosted_button_id"), QString::fromLatin1(kDonationButtonId));
    url.setQuery(query);
    return url;
}

QUrl introductionVideoUrl() { return QUrl(makerHost() + QStringLiteral("/video/korbisto-einfuehrung.html")); }

}  // namespace korbisto::app
