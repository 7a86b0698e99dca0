#include "web_links.h"

#include "core/paths.h"
#include "online/server.h"

#include <QUrlQuery>

namespace korbisto::app {

namespace {
// The maker's own values; replace them here when the site moves. The host
// is the download server's (kMakerServer).
constexpr const char* kDonationButtonId = "KORBISTO13WACH";
constexpr const char* kSupportAddress = "support@korbisto.example";
constexpr const char* kContactLines[] = {"Korbisto-Team", "Musterweg 13", "12345 Musterstadt", "Telefon: 0123 456789",
                                         "Telefax: 0123 456780"};
}  // namespace

QString makerHost() { return QString::fromLatin1(kMakerServer); }

QUrl makerSiteUrl() { return QUrl(makerHost() + QStringLiteral("/wimbrel/")); }

QUrl donationUrl() {
    QUrl url(QStringLiteral("https://www.paypal.com/donate/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("hosted_button_id"), QString::fromLatin1(kDonationButtonId));
    url.setQuery(query);
    return url;
}

QStringList contactLines() {
    QStringList lines;
    for (const char* line : kContactLines) lines << QString::fromUtf8(line);
    return lines;
}

QString supportAddress() { return QString::fromLatin1(kSupportAddress); }

QUrl supportMailUrl() {
    QUrl url(QStringLiteral("mailto:") + supportAddress());
    url.setQuery(QStringLiteral("subject=") + QString::fromLatin1(ProgramName));
    return url;
}

QUrl introductionVideoUrl() { return QUrl(makerHost() + QStringLiteral("/video/korbisto-einfuehrung.html")); }

}  // namespace korbisto::app
