#pragma once

#include <QString>
#include <QUrl>

namespace korbisto::app {

// The maker's web host and the pages the program opens in the browser.
QString makerHost();
QUrl makerSiteUrl();
QUrl donationUrl();
QUrl introductionVideoUrl();

}  // namespace korbisto::app
