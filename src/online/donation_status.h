#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

namespace korbisto {

class Download;

// The status file's first line as it may be shown: control characters
// removed, at most 20 characters.
QString donationStatusLine(const QByteArray& file);

// GetDonationStatus: fetches the status file into TempFolder + "wach13.txt"
// and gives its first line to `done`, the empty string when it cannot be had.
// Offline, `done` is called before this returns and there is no download.
Download* GetDonationStatus(QObject* parent, std::function<void(const QString&)> done);

}  // namespace korbisto
