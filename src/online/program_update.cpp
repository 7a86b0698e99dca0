#include "program_update.h"

#include "server.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/binary_io.h"
#include "files/removal_script.h"
#include "files/version_info_file.h"

#include <QDir>

namespace korbisto {

QString versionFilePath() { return appPaths().DataFolder + QStringLiteral("verinfos.krvi"); }

QString installerFilePath() { return appPaths().DataFolder + QStringLiteral("Update.exe"); }

bool programMayUpdateItself(const QString& programFile) {
    // A build for a package manager leaves updates to it, wherever it runs from.
    return KORBISTO_SELF_UPDATE && programIsRemovable(programFile);
}

bool UpdateCheck::downloadOffered() const {
    return offered && *offered != QString::fromLatin1(ProgramVersion);
}

Download* CheckForUpdate(QObject* parent, std::function<void(const UpdateCheck&)> done) {
    Download* download =
        DownloadFile(serverUrl(QString::fromLatin1(kVersionInfoPath)), kSmallFileLimits, QString(), parent);
    QObject::connect(download, &Download::finished, download, [download, done](const DownloadResult& answer) {
        download->deleteLater();
        UpdateCheck check;
        check.download = answer;
        DownloadResult& r = check.download;
        checkAnswer(r, [](const QByteArray& bytes) { return versionFileProblem(bytes); });
        if (r.ok()) {
            try {
                // A command line may come before any window has made the data folder.
                QDir().mkpath(appPaths().DataFolder);
                writeFileAtomically(versionFilePath(), r.data);
                check.offered = lastVersionOf(r.data);
                check.fetched = true;
            } catch (const KorbistoError& e) {
                r.failure = DownloadFailure::Write;
                r.detail = e.message();
            }
        }
        r.data.clear();
        done(check);
    });
    return download;
}

Download* DownloadInstaller(QObject* parent, std::function<void(const DownloadResult&)> done) {
    QDir().mkpath(appPaths().DataFolder);
    Download* download =
        DownloadFile(serverUrl(QString::fromLatin1(kInstallerPath)), kInstallerLimits, installerFilePath(), parent);
    QObject::connect(download, &Download::finished, download, [download, done](const DownloadResult& r) {
        download->deleteLater();
        done(r);
    });
    return download;
}

QString updateCheckFailedMessage(const DownloadResult& result) {
    if (result.failure == DownloadFailure::Certificate) return unverifiedServerMessage();
    return QStringLiteral("Die Prüfung hat leider nicht geklappt.\n");
}

QString installerFailedMessage(const DownloadResult& result, const QString& site) {
    if (result.failure == DownloadFailure::Certificate) return unverifiedServerMessage();
    return QStringLiteral("Der Download ist gescheitert. Versuchen Sie es bitte später noch einmal oder laden Sie das "
                          "Update von \"%1\" herunter.")
        .arg(site);
}

}  // namespace korbisto
