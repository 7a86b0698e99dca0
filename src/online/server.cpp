#include "server.h"

#include "files/settings_file.h"

#include <QSslConfiguration>

namespace korbisto {

namespace {

constexpr const char* kSection = "Server";

QString setting(const QString& key, const char* environment, const QString& fallback) {
    const QString stored = settings::readString(kSection, key).trimmed();
    if (!stored.isEmpty()) return stored;
    const QString given = qEnvironmentVariable(environment).trimmed();
    return given.isEmpty() ? fallback : given;
}

}  // namespace

QString serverAddress() {
    return setting(QStringLiteral("Adresse"), "KORBISTO_SERVER", QString::fromLatin1(kMakerServer));
}

QUrl serverUrl(const QString& path) {
    QString base = serverAddress();
    while (base.endsWith(u'/')) base.chop(1);
    return QUrl(base + path, QUrl::StrictMode);
}

QString extraCaFile() { return setting(QStringLiteral("CA"), "KORBISTO_CA_FILE", QString()); }

QList<QSslCertificate> trustedCertificates() {
    // Reading the system's store takes a while; it does not change during a run.
    static const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    QList<QSslCertificate> all = system;
    const QString extra = extraCaFile();
    if (!extra.isEmpty()) all += QSslCertificate::fromPath(extra, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
    return all;
}

}  // namespace korbisto
