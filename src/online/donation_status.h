#pragma once

#include "download.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

namespace korbisto {

// Why `file` is no status file, in German; empty when it is text: no
// control characters but tabs and line ends.
QString donationStatusProblem(const QByteArray& file);

// The status file's first line as it may be shown: format characters
// removed, at most 20 characters.
QString donationStatusLine(const QByteArray& file);

struct DonationStatus {
    QString line;  // empty when it cannot be had
    DownloadResult download;
};

// GetDonationStatus: fetches the status file into memory and gives its first
// line to `done`. Offline, `done` is called before this returns and there is
// no download; otherwise `done` comes when it ends, unless `parent` goes first.
Download* GetDonationStatus(QObject* parent, std::function<void(const DonationStatus&)> done);

}  // namespace korbisto
