#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace korbisto::app {

// The maker's web host and the pages the program opens in the browser.
QString makerHost();
QUrl makerSiteUrl();
QUrl donationUrl();
QUrl introductionVideoUrl();

// The support contact of the about window: the lines under "Der Autor:"
// (the last two are laid out hidden) and the mail address.
QStringList contactLines();
QString supportAddress();
// "mailto:" + the support address, with the program's name as subject.
QUrl supportMailUrl();

}  // namespace korbisto::app
