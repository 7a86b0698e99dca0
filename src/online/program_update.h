#pragma once

#include "download.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace korbisto {

// DataFolder + "verinfos.krvi" and DataFolder + "Update.exe": the names are
// the server's and stay so on every system.
QString versionFilePath();
QString installerFilePath();

// Whether this program may download and start its own update. Not when the
// package management installed it: that updates it, and the program file is
// not the user's to remove.
bool programMayUpdateItself(const QString& programFile);

struct UpdateCheck {
    bool fetched = false;            // a version file came and was stored
    std::optional<QString> offered;  // its last record's version
    DownloadResult download;

    // The download is offered for any other version, an older one too.
    bool downloadOffered() const;
};

// The check of "Prüfen": the server's version file, stored in place of the
// old copy when it reads as one; a failure keeps the old copy. `done`
// follows unless `parent` goes first. Being online is the caller's question.
Download* CheckForUpdate(QObject* parent, std::function<void(const UpdateCheck&)> done);

// Fetches the installer into installerFilePath(), replacing an old one only
// when the whole has come. Progress comes by the download's progress().
Download* DownloadInstaller(QObject* parent, std::function<void(const DownloadResult&)> done);

// The boxes after a check or an installer download that failed.
QString updateCheckFailedMessage(const DownloadResult& result);
QString installerFailedMessage(const DownloadResult& result, const QString& site);

}  // namespace korbisto
