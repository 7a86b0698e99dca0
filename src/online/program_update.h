#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace korbisto {

class Download;
struct DownloadResult;

// DataFolder + "verinfos.krvi" and DataFolder + "Update.exe": the names are
// the server's and stay so on every system.
QString versionFilePath();
QString installerFilePath();

struct UpdateCheck {
    bool fetched = false;           // the version file came
    std::optional<QString> offered;  // its last whole record's version

    // The download is offered for any other version, an older one too.
    bool downloadOffered() const;
};

// The check of "Prüfen": the old copy of the version file goes, the
// server's comes. `done` follows unless `parent` goes first. Being online
// is the caller's question.
Download* CheckForUpdate(QObject* parent, std::function<void(const UpdateCheck&)> done);

// Fetches the installer into installerFilePath(), replacing an old one.
// Progress comes by the download's progress().
Download* DownloadInstaller(QObject* parent, std::function<void(const DownloadResult&)> done);

// The box after a check that failed, with the line break it ends in.
QString updateCheckFailedMessage();

}  // namespace korbisto
