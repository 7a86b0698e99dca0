#include "program_update.h"

#include "download.h"
#include "server.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/version_info_file.h"

#include <QDir>

namespace korbisto {

namespace {

// A command line may come before any window has made the data folder.
Download* fetchIntoDataFolder(const char* serverPath, const QString& target, DownloadLimits limits,
                              QObject* parent) {
    QDir().mkpath(appPaths().DataFolder);
    return DownloadAnew(serverPath, target, limits, parent);
}

}  // namespace

QString versionFilePath() { return appPaths().DataFolder + QStringLiteral("verinfos.krvi"); }

QString installerFilePath() { return appPaths().DataFolder + QStringLiteral("Update.exe"); }

bool UpdateCheck::downloadOffered() const {
    return offered && *offered != QString::fromLatin1(ProgramVersion);
}

Download* CheckForUpdate(QObject* parent, std::function<void(const UpdateCheck&)> done) {
    const QString target = versionFilePath();
    Download* download = fetchIntoDataFolder(kVersionInfoPath, target, kSmallFileLimits, parent);
    QObject::connect(download, &Download::finished, download, [download, target, done](const DownloadResult& r) {
        download->deleteLater();
        UpdateCheck check;
        if (r.ok()) {
            try {
                check.offered = readVersionInfoFile(target);
                check.fetched = true;
            } catch (const KorbistoError&) {
                // Written but not readable again: as if it had not come.
            }
        }
        done(check);
    });
    return download;
}

Download* DownloadInstaller(QObject* parent, std::function<void(const DownloadResult&)> done) {
    Download* download = fetchIntoDataFolder(kInstallerPath, installerFilePath(), kInstallerLimits, parent);
    QObject::connect(download, &Download::finished, download, [download, done](const DownloadResult& r) {
        download->deleteLater();
        done(r);
    });
    return download;
}

QString updateCheckFailedMessage() { return QStringLiteral("Die Prüfung hat leider nicht geklappt.\n"); }

}  // namespace korbisto
